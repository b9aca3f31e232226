// On Windows the sandbox keeps the Unix user's XDG folders (Wine's recycle bin is their trash);
// there the registry is the test's own and the browsers' caches are under LOCALAPPDATA.

#include "tests/support/Sandbox.h"

#include <cstdlib>
#include <sstream>
#ifdef _WIN32
#include "tests/platform/windows/support/PrivateRegistry.h"
#include "tests/platform/windows/support/WindowsTestMachine.h"
#else
#include <sched.h>
#include <unistd.h>
#endif

namespace vidor::test {

namespace fs = std::filesystem;

namespace {

// The XDG folders of a sandbox, each named by the variable XDG_<folder>.
constexpr const char* kXdgFolders[] = {"CONFIG_HOME", "DATA_HOME",   "RUNTIME_DIR",
                                       "CACHE_HOME",  "CONFIG_DIRS", "STATE_HOME"};

void setOrUnset(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), value ? value->c_str() : "");  // the empty text unsets
#else
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
#endif
}

}  // namespace

#ifdef _WIN32
static std::string name;

std::string sandboxName() {
    return name;
}

Sandbox::Sandbox() : machine_(std::make_shared<PrivateRegistry>()) {
    name = dir_.path().filename().string();
    fs::create_directories(dir_ / "CACHE_HOME");
    setEnv("LOCALAPPDATA", (dir_ / "CACHE_HOME").string());
    setEnv("VIDOR_UNITES", "");
}

void Sandbox::shareWithEveryone() {}

fs::path Sandbox::dataHome() const {
    const char* unix = std::getenv("XDG_DATA_HOME");
    return unix ? fs::path("Z:" + std::string(unix)) : dir_ / "DATA_HOME";
}
#else
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

void Sandbox::shareWithEveryone() {
    fs::permissions(dir_.path(), fs::perms::all);
    for (const char* folder : kXdgFolders) {
        for (const auto& entry : fs::recursive_directory_iterator(dir_ / folder))
            fs::permissions(entry.path(), fs::perms::all);
        fs::permissions(dir_ / folder, fs::perms::all);
    }
}

fs::path Sandbox::dataHome() const {
    return dir_ / "DATA_HOME";
}
#endif

Sandbox::~Sandbox() {
    for (const auto& [name, value] : saved_) setOrUnset(name, value);
}

void Sandbox::setEnv(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    saved_.try_emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    setOrUnset(name, value);
}

// Windows reads the map too: its test machine makes stand-ins of the drives (WindowsTestMachine).
void Sandbox::drives(const std::string& unites) {
    std::istringstream in(unites);
    std::string resolved;
    for (std::string entry; std::getline(in, entry, ';');) {
        fs::path folder = entry.substr(4);
        if (folder.is_relative()) folder = dir_.path() / folder;
        fs::create_directories(folder);
        drives_[entry[0]] = folder;
        resolved += (resolved.empty() ? "" : ";") + entry.substr(0, 4) + folder.string();
    }
    setEnv("VIDOR_UNITES", resolved);
}

}  // namespace vidor::test
