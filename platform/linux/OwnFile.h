#pragma once

#include <sys/types.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vidor::platform::linux_ {

// The files the program keeps for itself (settings, the drive-letter map).

// The contents of `path` when it is a regular file (a link to one is followed); nullopt for
// anything else, read without ever waiting (a named pipe is not opened for reading).
std::optional<std::string> readOwnFile(const std::string& path);

// Replaces `path` by `contents` (creating its missing folders), through a temporary
// file renamed into place, so that a crash leaves the old file or the new one. Refused, leaving
// everything as it was, when the file is anything but a regular file, when a link on the way
// belongs to another user than the running one or root or leads to something of another user,
// and, for root, when the file or its folder belongs to another user. True when written.
bool writeOwnFile(const std::string& path, const std::string& contents);
// The same, with the contents given in pieces that follow one another.
bool writeOwnFile(const std::string& path, std::span<const std::string_view> pieces);

// Makes the folders of the absolute path `folder` that are missing, under the same rules as
// writeOwnFile(): a link on the way is followed only when it and what it leads to belong to the
// running user or to root, and root makes folders only inside root's. True when all are there.
bool makeOwnFolders(const std::string& folder);

// True when root may write into something of `owner`: `sudo` may keep another user's HOME.
bool rootMayWrite(uid_t owner);

}  // namespace vidor::platform::linux_
