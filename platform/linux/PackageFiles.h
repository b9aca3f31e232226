#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace vidor::platform::linux_ {

// The files that installed packages own, from dpkg's file lists (<folder>/*.list). They are read
// when first asked for, and again once the folder has changed (a package was installed or
// removed), into one sorted table: a question costs a binary search. A listed path whose folders
// go through a link (/lib on a merged /usr) also stands for the file where it really lies.
class PackageFiles {
  public:
    explicit PackageFiles(std::string listFolder) : folder_(std::move(listFolder)) {}

    // True when the machine path `path` is a file of an installed package.
    bool owns(const std::string& path);

    // How many paths the table holds (loading it when needed).
    std::size_t size();

  private:
    void load();

    std::string folder_;
    timespec loadedAt_{-1, 0};  // the folder's time of change when last read
    std::string text_;          // every path, each followed by a newline
    std::vector<std::string_view> paths_;
};

}  // namespace vidor::platform::linux_
