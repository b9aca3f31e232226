#include "platform/linux/PackageFiles.h"

#include <cstdlib>
#include <ctime>
#include <system_error>

#include "platform/linux/PackageCache.h"
#include "platform/linux/PackageLists.h"

namespace vidor::platform::linux_ {

namespace {

// A folder's time of change can stay the same for a moment after a change (one clock tick):
// lists read within that moment are not cached, or a package installed in it would go unseen.
constexpr time_t kSettled = 2;

// Reads the table the folder `header` describes: from the cache when it holds it, else from the
// lists, then kept in the cache when the folder stayed as it was and has settled.
void readTable(const std::string& folder, const std::string& cacheFile, const std::string& header,
               std::promise<std::shared_ptr<const PathSet>>& table) {
    if (auto cached = readPackageCache(cacheFile, header)) {
        table.set_value(std::make_shared<const PathSet>(std::move(*cached)));
        return;
    }
    auto paths = std::make_shared<const PathSet>(readPackageLists(folder));
    table.set_value(paths);
    timespec modified{};
    if (cacheFile.empty() || paths->size() == 0 || listFolderHeader(folder, &modified) != header ||
        modified.tv_sec + kSettled > ::time(nullptr)) {
        return;
    }
    writePackageCache(cacheFile, header, *paths);
}

}  // namespace

PackageFiles::PackageFiles(std::string listFolder, std::string cacheFile)
    : folder_(std::move(listFolder)), cacheFile_(std::move(cacheFile)) {}

std::string PackageFiles::userCacheFile() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string folder;
    if (cache && cache[0] == '/') {
        folder = cache;
    } else if (const char* home = std::getenv("HOME");
               home && home[0] == '/' && std::string_view(home) != "/") {
        folder = std::string(home) + "/.cache";
    } else {
        return {};
    }
    return folder + "/Brenlo/Vidor/dpkg-files";
}

void PackageFiles::refresh() {
    std::string header = listFolderHeader(folder_);
    if (table_.valid() && header == readFrom_) return;
    readFrom_ = std::move(header);
    auto promise = std::make_shared<std::promise<std::shared_ptr<const PathSet>>>();
    table_ = promise->get_future().share();
    auto read = [folder = folder_, cacheFile = cacheFile_, header = readFrom_, promise] {
        try {
            readTable(folder, cacheFile, header, *promise);
        } catch (...) {
            // Nothing is answered from a table that could not be read whole.
            try {
                promise->set_exception(std::current_exception());
            } catch (const std::future_error&) {
                // The table was handed over; only its cache copy failed.
            }
        }
    };
    try {
        reading_ = std::async(std::launch::async, read);
    } catch (const std::system_error&) {
        read();  // no thread to be had: read it here
    }
}

const PathSet& PackageFiles::table() {
    if (!table_.valid()) refresh();
    return *table_.get();
}

bool PackageFiles::owns(const std::string& path) {
    return table().contains(path);
}

std::size_t PackageFiles::size() {
    return table().size();
}

}  // namespace vidor::platform::linux_
