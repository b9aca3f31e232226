#include "platform/linux/PackageFiles.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <ctime>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "platform/linux/OwnFile.h"
#include "platform/linux/PackageCache.h"

namespace vidor::platform::linux_ {

namespace {

// A folder's time of change can stay the same for a moment after a change (one clock tick):
// lists read within that moment are not cached, or a package installed in it would go unseen.
constexpr time_t kSettled = 2;

// The real path of each listed folder, found from its parent's: one lstat per folder, and
// realpath only where a folder is a link. It gives what realpath gives for the folder's path,
// or the path unchanged where realpath would fail.
class RealFolders {
  public:
    const std::string& of(const std::string& folder) { return resolve(folder).path; }

  private:
    struct Real {
        std::string path;
        bool folder = false;  // resolved, and a folder: its entries resolve below it
    };

    const Real& resolve(const std::string& folder) {
        if (auto at = known_.find(folder); at != known_.end()) return at->second;
        const std::size_t slash = folder.rfind('/');
        const std::string_view name = std::string_view(folder).substr(slash + 1);
        Real real{folder, false};
        if (slash == std::string::npos || name.empty() || name == "." || name == "..") {
            real = resolved(folder, folder);
        } else if (const Real parent =
                       slash == 0 ? Real{"", true} : resolve(folder.substr(0, slash));
                   parent.folder) {
            std::string path = parent.path == "/" ? std::string() : parent.path;
            path.append("/").append(name);
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0) {
                real = {folder, false};
            } else if (S_ISLNK(st.st_mode)) {
                real = resolved(path, folder);
            } else {
                real = {std::move(path), S_ISDIR(st.st_mode)};
            }
        }
        return known_.insert_or_assign(folder, std::move(real)).first->second;
    }

    static Real resolved(const std::string& path, const std::string& listed) {
        char real[PATH_MAX];
        struct stat st {};
        if (!::realpath(path.c_str(), real)) return {listed, false};
        return {real, ::stat(real, &st) == 0 && S_ISDIR(st.st_mode)};
    }

    std::unordered_map<std::string, Real> known_;
};

// Appends the paths of one file list, and their real paths where they differ.
void appendList(const std::string& list, std::string& text, RealFolders& real) {
    std::string_view rest = list;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view path = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const std::size_t slash = path.rfind('/');
        if (path.empty() || path[0] != '/' || slash == 0 || path == "/.") continue;
        text.append(path) += '\n';
        const std::string& folder = real.of(std::string(path.substr(0, slash)));
        if (folder.size() != slash || path.compare(0, slash, folder) != 0) {
            text.append(folder).append(path.substr(slash)) += '\n';
        }
    }
}

// The names of the file lists are read first, then the lists one by one: the reading, which goes
// on while the walk keeps its own folders open, holds a single descriptor at a time.
std::string readLists(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* lists = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(lists)) {
            const std::string_view name = entry->d_name;
            if (name.ends_with(".list")) names.emplace_back(name);
        }
        ::closedir(lists);
    }
    std::string text;
    RealFolders real;
    for (const std::string& name : names) {
        if (auto list = readOwnFile(folder + "/" + name)) appendList(*list, text, real);
    }
    return text;
}

// Reads the table the folder `header` describes: from the cache when it holds it, else from the
// lists, then kept in the cache when the folder stayed as it was and has settled.
void readTable(const std::string& folder, const std::string& cacheFile, const std::string& header,
               std::promise<std::shared_ptr<const PathSet>>& table) {
    if (auto cached = readPackageCache(cacheFile, header)) {
        table.set_value(std::make_shared<const PathSet>(std::move(*cached)));
        return;
    }
    auto paths = std::make_shared<const PathSet>(readLists(folder));
    table.set_value(paths);
    timespec modified{};
    if (cacheFile.empty() || paths->size() == 0 ||
        listFolderHeader(folder, &modified) != header ||
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
