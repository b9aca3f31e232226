#pragma once

#include <filesystem>
#include <string>

namespace vidor::test {

// A fresh folder under the system's temp folder, removed with everything in it at the end; the
// running test fails, naming the folder and the reason, when something of it stays.
class TempDir {
  public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Removes the folder now; false (with the reason in `error`) when something stays.
    bool remove(std::string& error);

  private:
    std::filesystem::path path_;
    bool removed_ = false;
};

// Writes `contents` to `file`, creating its folders.
void writeFile(const std::filesystem::path& file, const std::string& contents = {});
// The contents of `file`, or the empty text.
std::string readFile(const std::filesystem::path& file);

}  // namespace vidor::test
