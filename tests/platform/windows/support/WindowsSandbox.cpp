// The sandbox of the tests on Windows: a temp folder whose sub-folders stand for the drives and
// the browsers' caches, and a registry of the test's own.

#include <cstdlib>
#include <sstream>

#include "tests/platform/windows/support/PrivateRegistry.h"
#include "tests/platform/windows/support/WindowsTestMachine.h"
#include "tests/support/Sandbox.h"

namespace vidor::test {

namespace fs = std::filesystem;

namespace {

// Never the machine's own drives: a test without drives has none.
platform::windows::DriveTable standIns{true, {}};
std::string name;

}  // namespace

const platform::windows::DriveTable& sandboxDrives() {
    return standIns;
}

std::string sandboxName() {
    return name;
}

Sandbox::Sandbox() : machine_(std::make_shared<PrivateRegistry>()) {
    standIns.drives.clear();
    name = dir_.path().filename().string();
    // The browsers' caches, as XDG_CACHE_HOME holds them on Linux.
    fs::create_directories(dir_ / "CACHE_HOME");
    setEnv("LOCALAPPDATA", (dir_ / "CACHE_HOME").string());
}

Sandbox::~Sandbox() {
    standIns.drives.clear();
    for (const auto& [name, value] : saved_) ::_putenv_s(name.c_str(), value ? value->c_str() : "");
}

void Sandbox::setEnv(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    saved_.try_emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    ::_putenv_s(name.c_str(), value ? value->c_str() : "");
}

void Sandbox::shareWithEveryone() {}

void Sandbox::drives(const std::string& unites) {
    // The new drives replace the old ones, as a new drive map does on Linux.
    standIns.drives.clear();
    std::istringstream in(unites);
    for (std::string entry; std::getline(in, entry, ';');) {
        fs::path folder = entry.substr(4);
        if (folder.is_relative()) folder = dir_.path() / folder;
        fs::create_directories(folder);
        drives_[entry[0]] = folder;
        standIns.drives[entry[0]] = {entry[2] - '0', folder.string()};
    }
}

fs::path Sandbox::dataHome() const {
    const char* unix = std::getenv("XDG_DATA_HOME");
    return unix ? fs::path("Z:" + std::string(unix)) : dir_ / "DATA_HOME";
}

}  // namespace vidor::test
