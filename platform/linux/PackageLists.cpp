#include "platform/linux/PackageLists.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/linux/PathSetBuilder.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

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

// The paths of the lists, gathered into one set.
class ListReader {
  public:
    // Room made at once for `lists` lists of the usual size: growing the set as it fills would
    // copy it, and touch more memory.
    explicit ListReader(std::size_t lists) : set_(lists * 128, lists * 3072) {}

    // Adds the paths of one list, read into `buffer`.
    void read(const std::string& list, std::string& buffer) {
        if (!readWhole(list, buffer)) return;
        std::string_view rest = buffer;
        while (!rest.empty()) {
            const std::size_t end = std::min(rest.find('\n'), rest.size());
            line(rest.substr(0, end));
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
    }

    PathSet build() && { return std::move(set_).build(); }

  private:
    void line(std::string_view path) {
        const void* last = ::memrchr(path.data(), '/', path.size());
        const std::size_t slash = last ? static_cast<const char*>(last) - path.data() : 0;
        if (slash == 0 || path[0] != '/') return;  // nothing right under / ("/.")
        // A list names a folder's files one after another: its id is looked up once for them.
        const std::string_view folder = path.substr(0, slash);
        if (folder != folder_) {
            folder_.assign(folder);
            id_ = idOf(folder_);
        }
        set_.add(id_, path.substr(slash + 1));
    }

    std::uint32_t idOf(const std::string& listed) {
        if (auto id = set_.knownFolder(listed)) return *id;
        const std::string& real = real_.of(listed);
        const std::uint32_t id = set_.folder(real);
        if (real != listed) set_.alias(listed, id);
        return id;
    }

    // The whole of the regular file `path` (a link to one is followed), without waiting on
    // anything else.
    static bool readWhole(const std::string& path, std::string& buffer) {
        const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st {};
        if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
        buffer.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t got = 0;
        for (;;) {
            if (got == buffer.size()) buffer.resize(2 * buffer.size());  // grown meanwhile
            const ssize_t length = ::read(fd.get(), buffer.data() + got, buffer.size() - got);
            if (length < 0 && errno == EINTR) continue;
            if (length < 0) return false;
            if (length == 0) break;
            got += static_cast<std::size_t>(length);
        }
        buffer.resize(got);
        return true;
    }

    PathSetBuilder set_;
    RealFolders real_;
    std::string folder_;
    std::uint32_t id_ = 0;
};

}  // namespace

PathSet readPackageLists(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* lists = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(lists)) {
            const std::string_view name = entry->d_name;
            if (name.ends_with(".list")) names.emplace_back(name);
        }
        ::closedir(lists);
    }
    ListReader reader(names.size());
    std::string buffer;
    for (const std::string& name : names) reader.read(folder + "/" + name, buffer);
    return std::move(reader).build();
}

}  // namespace vidor::platform::linux_
