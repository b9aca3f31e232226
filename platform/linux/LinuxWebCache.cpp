#include "platform/linux/LinuxWebCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <array>

#include "platform/linux/LinuxFolder.h"

namespace vidor::platform::linux_ {

namespace {

using cache::CacheFamily;

constexpr std::array<cache::BrowserFolder, 6> kBrowsers = {{
    {"mozilla/firefox", CacheFamily::Firefox},
    {"chromium", CacheFamily::Chromium},
    {"google-chrome", CacheFamily::Chromium},
    {"BraveSoftware/Brave-Browser", CacheFamily::Chromium},
    {"microsoft-edge", CacheFamily::Chromium},
    {"vivaldi", CacheFamily::Chromium},
}};

// Folder descriptors kept open at once; the others are opened again when needed.
constexpr std::size_t kOpenLimit = 64;

}  // namespace

LinuxWebCache::LinuxWebCache()
    : BrowserCaches(kBrowsers), openFolders_(std::make_shared<OpenFolders>(kOpenLimit)) {}

std::unique_ptr<Folder> LinuxWebCache::openCacheFolder() {
    // $XDG_CACHE_HOME, or ~/.cache; the user may have made that folder itself a link.
    const QByteArray path =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    auto node = std::make_shared<FolderNode>(openFolders_, nullptr, std::string(), fd, st.st_dev);
    return std::make_unique<LinuxFolder>(std::move(node), trash_);
}

}  // namespace vidor::platform::linux_
