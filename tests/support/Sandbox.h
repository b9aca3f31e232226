#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "tests/support/TempDir.h"

namespace vidor::test {

// Points the program's view of the machine at a temp folder: the XDG folders (settings, data,
// trash, cache, runtime, state), the drive map VIDOR_UNITES, and (for root) a network namespace of
// its own. Everything but the namespace is put back at the end.
class Sandbox {
  public:
    Sandbox();
    // A sandbox with the drives of `unites` (see drives()).
    explicit Sandbox(const std::string& unites) : Sandbox() { drives(unites); }
    ~Sandbox();

    const TempDir& dir() const { return dir_; }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

    // Sets VIDOR_UNITES; each drive's folder is created under the sandbox unless it exists.
    // Example: drives("C=3:c;E=2:e") maps C: to <sandbox>/c and E: to <sandbox>/e.
    void drives(const std::string& unites);
    // The folder that stands for `letter` after drives().
    std::filesystem::path drive(char letter) const { return drives_.at(letter); }

    // Sets (or, with nullopt, unsets) an environment variable until the end of the test.
    void setEnv(const std::string& name, const std::optional<std::string>& value);

    // Lets any user read and write the sandbox's XDG folders, for a test that runs part of the
    // program as another user.
    void shareWithEveryone();

    std::filesystem::path configHome() const { return dir_ / "CONFIG_HOME"; }
    // Where the recycle bin's files land: on Windows under Wine, the trash of the Unix user's
    // data folder, which every test shares.
    std::filesystem::path dataHome() const;
    std::filesystem::path trashFiles() const { return dataHome() / "Trash" / "files"; }
    std::filesystem::path trashInfo() const { return dataHome() / "Trash" / "info"; }

  private:
    TempDir dir_;
    std::map<std::string, std::optional<std::string>> saved_;
    std::map<char, std::filesystem::path> drives_;
    std::shared_ptr<void> machine_;  // what else the system needs kept apart (Windows: registry)
};

}  // namespace vidor::test
