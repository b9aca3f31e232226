#include "tests/support/Sandbox.h"

#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace vidor::test {

namespace fs = std::filesystem;

namespace {

// The XDG folders of a sandbox, each named by the variable XDG_<folder>.
constexpr const char* kXdgFolders[] = {"CONFIG_HOME", "DATA_HOME",   "RUNTIME_DIR",
                                       "CACHE_HOME",  "CONFIG_DIRS", "STATE_HOME"};

void setOrUnset(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

}  // namespace

Sandbox::Sandbox() {
    for (const std::string folder : kXdgFolders) {
        fs::create_directories(dir_ / folder);
        setEnv("XDG_" + folder, (dir_ / folder).string());
    }
    // The runtime folder belongs to the user alone, as the system makes it.
    fs::permissions(dir_ / "RUNTIME_DIR", fs::perms::owner_all, fs::perm_options::replace);
    setEnv("VIDOR_UNITES", "");
    // No word to the desktop of whoever runs the tests.
    setEnv("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    // A copy of the program claims its place per user in the network namespace: copies started
    // by other tests running at the same time must not see one another.
    if (::geteuid() == 0) ::unshare(CLONE_NEWNET);
}

Sandbox::~Sandbox() {
    for (const auto& [name, value] : saved_) setOrUnset(name, value);
}

void Sandbox::shareWithEveryone() {
    fs::permissions(dir_.path(), fs::perms::all);
    for (const char* folder : kXdgFolders) {
        for (const auto& entry : fs::recursive_directory_iterator(dir_ / folder)) {
            fs::permissions(entry.path(), fs::perms::all);
        }
        fs::permissions(dir_ / folder, fs::perms::all);
    }
}

void Sandbox::setEnv(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    saved_.try_emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    setOrUnset(name, value);
}

void Sandbox::drives(const std::string& unites) {
    std::istringstream in(unites);
    std::string resolved;
    for (std::string entry; std::getline(in, entry, ';');) {
        fs::path folder = entry.substr(4);
        if (folder.is_relative()) folder = dir_ / folder;
        fs::create_directories(folder);
        drives_[entry[0]] = folder;
        resolved += (resolved.empty() ? "" : ";") + entry.substr(0, 4) + folder.string();
    }
    setEnv("VIDOR_UNITES", resolved);
}

fs::path Sandbox::dataHome() const {
    return dir_ / "DATA_HOME";
}

}  // namespace vidor::test
