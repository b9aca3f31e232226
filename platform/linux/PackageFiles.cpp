#include "platform/linux/PackageFiles.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unordered_map>

#include "platform/linux/OwnFile.h"

namespace vidor::platform::linux_ {

namespace {

// The real folder of each listed folder, asked once per folder.
class RealFolders {
  public:
    const std::string& of(const std::string& folder) {
        auto [at, added] = known_.try_emplace(folder);
        if (added) {
            char real[PATH_MAX];
            at->second = ::realpath(folder.c_str(), real) ? real : folder;
        }
        return at->second;
    }

  private:
    std::unordered_map<std::string, std::string> known_;
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

}  // namespace

void PackageFiles::load() {
    struct stat st {};
    if (::stat(folder_.c_str(), &st) != 0) st.st_mtim = {0, 0};
    if (st.st_mtim.tv_sec == loadedAt_.tv_sec && st.st_mtim.tv_nsec == loadedAt_.tv_nsec) return;
    loadedAt_ = st.st_mtim;
    text_.clear();
    paths_.clear();
    RealFolders real;
    if (DIR* folder = ::opendir(folder_.c_str())) {
        while (const dirent* entry = ::readdir(folder)) {
            const std::string_view name = entry->d_name;
            if (!name.ends_with(".list")) continue;
            if (auto list = readOwnFile(folder_ + "/" + std::string(name))) {
                appendList(*list, text_, real);
            }
        }
        ::closedir(folder);
    }
    std::string_view rest = text_;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        paths_.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    std::sort(paths_.begin(), paths_.end());
}

bool PackageFiles::owns(const std::string& path) {
    load();
    return std::binary_search(paths_.begin(), paths_.end(), std::string_view(path));
}

std::size_t PackageFiles::size() {
    load();
    return paths_.size();
}

}  // namespace vidor::platform::linux_
