#include "platform/linux/Trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string_view>
#include <utility>

#include "platform/linux/FileInUse.h"
#include "platform/linux/FolderRealPath.h"
#include "platform/linux/SystemReason.h"
#include "platform/linux/TrashFolders.h"

namespace vidor::platform::linux_ {

namespace {

constexpr std::size_t kNameMax = 255;
constexpr std::string_view kInfoSuffix = ".trashinfo";
// Names tried for one file: the next numbers first, then each try goes twice as far as the one
// before, so that even a trash holding a name many thousand times over is passed in a few dozen.
constexpr int kNextNumbers = 8;
constexpr int kTries = 56;

// True when the folder `fd` is still in place (a removed folder has no links left).
bool inPlace(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_nlink > 0;
}

std::string deletionDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// The name tried in the trash for `name` the `n`-th time: the name itself, then "stem.2.ext" and
// so on, short enough for its .trashinfo to be a valid file name: a long name loses the end of
// its stem, cut between two characters, and keeps its extension.
std::string candidate(const std::string& name, std::uint64_t n) {
    const std::size_t room = kNameMax - kInfoSuffix.size();
    if (n == 1 && name.size() <= room) return name;
    std::string stem = name;
    std::string extension;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0 && name.size() - dot < room / 2) {
        stem = name.substr(0, dot);
        extension = name.substr(dot);
    }
    if (n > 1) extension = "." + std::to_string(n) + extension;
    if (stem.size() + extension.size() > room) {
        std::size_t cut = room - extension.size();
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem.resize(cut);
    }
    return stem + extension;
}

// Writes the information file `infoName`, whole, under a name no other file has; 0 when done,
// else the system's code (EEXIST: the name is taken), and nothing is left behind.
int writeInfo(int infoFd, const std::string& infoName, const std::string& text) {
    UniqueFd info(::openat(infoFd, infoName.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!info) return errno;
    const ssize_t written = ::write(info.get(), text.data(), text.size());
    if (written == static_cast<ssize_t>(text.size())) return 0;
    const int error = written < 0 ? errno : ENOSPC;
    ::unlinkat(infoFd, infoName.c_str(), 0);
    return error;
}

// Renames without ever replacing an existing file.
int renameNoReplace(int fromFd, const char* from, int toFd, const char* to) {
    if (::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without RENAME_NOREPLACE: a short window remains between test and rename.
    struct stat st {};
    if (::fstatat(toFd, to, &st, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    return ::renameat(fromFd, from, toFd, to) == 0 ? 0 : errno;
}

std::string noHome() {
    static bool told = false;
    if (!std::exchange(told, true)) {
        std::fputs("Vidor : pas de corbeille sans dossier personnel (HOME n'est pas défini).\n",
                   stderr);
    }
    return "pas de corbeille sans dossier personnel";
}

}  // namespace

std::string percentEncoded(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string text;
    for (unsigned char byte : path) {
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' ||
                           byte == '.' || byte == '~' || byte == '/';
        if (plain) {
            text += static_cast<char>(byte);
        } else {
            text += '%';
            text += hex[byte >> 4];
            text += hex[byte & 15];
        }
    }
    return text;
}

std::unique_ptr<Trash::Folders> Trash::open(const TrashFolder& trash, std::string& refusal) {
    if (!trash.fd) {
        refusal = trash.refusal;
        return nullptr;
    }
    TrashFolder files = privateFolder(trash, "files");
    TrashFolder info = privateFolder(trash, "info");
    struct stat st {};
    if (!files.fd || !info.fd || ::fstat(trash.fd.get(), &st) != 0) {
        refusal = !files.fd ? files.refusal : info.refusal;
        return nullptr;
    }
    auto folders = std::make_unique<Folders>();
    folders->files = std::move(files.fd);
    folders->info = std::move(info.fd);
    folders->volume = st.st_dev;
    folders->path = trash.path;
    return folders;
}

Trash::Folders* Trash::trashFor(dev_t volume, const std::string& path, std::string& refusal) {
    if (home_ && home_->volume == volume) return home_.get();
    const auto known = volumes_.find(volume);
    const auto under = [&path](const std::string& top) {
        return top == "/" || (path.starts_with(top) && path[top.size()] == '/');
    };
    if (known != volumes_.end() && under(known->second->top)) return known->second.get();
    const std::string data = dataHome();
    if (data.empty()) {
        refusal = noHome();
        return nullptr;
    }
    if (!home_) {
        home_ = open(homeTrash(data), refusal);
        if (home_) home_->home = true;
    }
    if (home_ && home_->volume == volume) return home_.get();
    // A file of the data folder's volume goes to the home trash or nowhere.
    struct stat dataSt {};
    if (!home_ && (::stat(data.c_str(), &dataSt) != 0 || dataSt.st_dev == volume)) return nullptr;
    const std::string top = topDirectoryOf(path);
    auto own = open(volumeTrash(top), refusal);
    if (!own) return nullptr;
    if (own->volume != volume) {
        refusal = "corbeille " + own->path + " refusée : elle n'est pas sur le volume du fichier";
        return nullptr;
    }
    own->top = top;
    auto& kept = volumes_[volume];
    kept = std::move(own);
    return kept.get();
}

void Trash::forget(const Folders& trash) {
    if (&trash == home_.get()) {
        home_.reset();
    } else {
        volumes_.erase(trash.volume);
    }
}

Removal Trash::moveInto(Folders& trash, int folderFd, const std::string& name,
                        const std::string& path, int& error) {
    // Paths in a volume's own trash are relative to its top, so that they hold wherever it is
    // mounted next time.
    const std::string pathInInfo =
        trash.home ? path : path.substr(trash.top == "/" ? 1 : trash.top.size() + 1);
    const std::string text = "[Trash Info]\nPath=" + percentEncoded(pathInInfo) +
                             "\nDeletionDate=" + deletionDate() + "\n";
    const auto known = trash.lastNumbers.find(name);
    std::uint64_t number = known == trash.lastNumbers.end() ? 1 : known->second + 1;
    std::uint64_t step = 1;
    for (int tries = 0; tries < kTries; ++tries, number += step) {
        if (tries >= kNextNumbers) step *= 2;
        const std::string target = candidate(name, number);
        const std::string infoName = target + std::string(kInfoSuffix);
        error = writeInfo(trash.info.get(), infoName, text);
        if (error == EEXIST) continue;
        if (error != 0)
            return Removal::failed("corbeille " + trash.path + " : " +
                                   spaceReason(error, trash.info.get()));
        error = renameNoReplace(folderFd, name.c_str(), trash.files.get(), target.c_str());
        if (error == 0) {
            if (number > 1) trash.lastNumbers[name] = number;
            return {true, {}, joined(joined(trash.path, "files"), target), {}};
        }
        ::unlinkat(trash.info.get(), infoName.c_str(), 0);
        // A full volume is the trash's to tell; any other refusal is the file's or its folder's.
        if (error == ENOSPC || error == EDQUOT) {
            return Removal::failed("corbeille " + trash.path + " : " +
                                   spaceReason(error, trash.files.get()));
        }
        if (error != EEXIST) return Removal::failed(reasonOf(error));
    }
    error = EEXIST;
    return Removal::failed("corbeille " + trash.path + " : pas de nom libre pour " + name);
}

Removal Trash::move(int folderFd, const std::string& name, const std::string& folderPath) {
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return Removal::failed(reasonOf(errno));
    }
    if (S_ISDIR(st.st_mode)) return Removal::failed(reasonOf(EISDIR));
    UniqueFd hold;  // till the file is in the trash
    if (std::string inUse = holdIfUnused(folderFd, name, st, hold); !inUse.empty()) {
        return Removal::failed(std::move(inUse));
    }
    const std::string folder = folderPath.empty() ? folderPathOf(folderFd) : folderPath;
    if (folder.empty()) return Removal::failed("chemin du dossier introuvable");
    const std::string path = joined(folder, name);
    Removal removal;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string refusal;
        Folders* trash = trashFor(st.st_dev, path, refusal);
        if (!trash) return Removal::failed(refusal);
        int error = 0;
        removal = moveInto(*trash, folderFd, name, path, error);
        if (removal) break;
        // A trash emptied away meanwhile is made again, and one of another mount of the volume
        // looked for again.
        if (error != EXDEV && inPlace(trash->files.get()) && inPlace(trash->info.get())) break;
        forget(*trash);
    }
    if (removal) removal.size = static_cast<std::uint64_t>(st.st_size);
    return removal;
}

}  // namespace vidor::platform::linux_
