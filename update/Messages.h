#pragma once

#include <string>

namespace vidor::update {

// Titles of the self-update's message boxes and of its prompt.
inline constexpr const char* kAttentionTitle = "Brenlo - Attention";
inline constexpr const char* kStrongAttentionTitle = "Brenlo - Attention !";
inline constexpr const char* kWarningTitle = "Brenlo - Avertissement";
inline constexpr const char* kPromptTitle = "Brenlo";

// The updater, named `updaterName`, is missing from `programFolder`: shall the stored update
// folder be kept?
std::string keepFolderQuestion(const std::string& updaterName, const std::string& programFolder);

// The updater is missing from `programFolder`, said after a folder was typed.
std::string updaterMissing(const std::string& updaterName, const std::string& programFolder);

// The prompt for the update folder; `folderKnown` (a folder was stored) adds how to keep it.
std::string folderPrompt(bool folderKnown);

// The program was started from its own update folder.
std::string fromUpdateFolder();

// The date of `programFile` cannot be read.
std::string noDate(const std::string& programFile);

// The old copy of `baseName` in `updateFolder` cannot be deleted, for the reason `error`.
std::string cannotDelete(const std::string& baseName, const std::string& updateFolder,
                         const std::string& error);

// `baseName` cannot be copied from `programFolder` (with its separator) to `updateFolder`, for
// the reason `error`; no copy is left there.
std::string cannotCopy(const std::string& baseName, const std::string& updateFolder,
                       const std::string& programFolder, const std::string& error);

// The updater `updaterName` of `baseName` cannot be started: shall the current version go on?
std::string cannotStartUpdater(const std::string& baseName, const std::string& updaterName);

}  // namespace vidor::update
