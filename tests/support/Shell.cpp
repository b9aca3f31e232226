#include "tests/support/Shell.h"

#include <sys/wait.h>

#include <cstdlib>

namespace vidor::test {

std::string quoted(const std::filesystem::path& path) {
    std::string word = "'";
    for (const char c : path.string()) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

int runShell(const std::string& command, const std::filesystem::path& errorFile) {
    std::error_code ignored;
    std::filesystem::remove(errorFile, ignored);  // perhaps another user's, from an earlier run
    const int status = std::system(("timeout 60 " + command + " 2>" + quoted(errorFile)).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vidor::test
