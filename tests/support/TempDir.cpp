#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#ifdef _WIN32
#include <process.h>
#endif
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace vidor::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
#ifdef _WIN32
    // No mkdtemp there (and random_device may give every process the same numbers): names made
    // of the process id and the time are tried until one is free.
    const auto pid = std::to_string(::_getpid());
    for (auto attempt = std::chrono::steady_clock::now().time_since_epoch().count();; ++attempt) {
        path_ = fs::temp_directory_path() / ("vidor-test-" + pid + "-" + std::to_string(attempt));
        if (fs::create_directory(path_)) return;
    }
#else
    std::string pattern = (fs::temp_directory_path() / "vidor-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
#endif
}

TempDir::~TempDir() {
    std::string error;
    if (!removed_ && !remove(error))
        ADD_FAILURE() << "the temporary folder " << path_.string() << " stays: " << error;
}

bool TempDir::remove(std::string& error) {
    removed_ = true;
    std::error_code code;
    // Folders a test made unreadable are opened up again first, and files it made read-only
    // writable (Windows removes no read-only file).
    for (auto it = fs::recursive_directory_iterator(
             path_, fs::directory_options::skip_permission_denied, code);
         it != fs::recursive_directory_iterator(); it.increment(code)) {
        if (it->is_symlink(code)) continue;
        const fs::perms opened =
            it->is_directory(code) ? fs::perms::owner_all : fs::perms::owner_write;
        fs::permissions(it->path(), opened, fs::perm_options::add, code);
    }
    // A program the test started may still be ending, its files still open: Windows removes
    // them once it has ended, which under Wine on a loaded machine takes seconds.
    for (int attempt = 0; attempt < 200; ++attempt) {
        code.clear();
        fs::remove_all(path_, code);
        if (!fs::exists(path_)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    error = code ? code.message() : "something in it could not be removed";
    return false;
}

void writeFile(const fs::path& file, const std::string& contents) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contents;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace vidor::test
