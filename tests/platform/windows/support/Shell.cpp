// The tests that run the built Vidor through a shell need its window, which Windows does not
// have yet: they are left out of the Windows build (see tests/CMakeLists.txt).

#include "tests/support/Shell.h"

namespace vidor::test {

std::string quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

int runShell(const std::string&, const std::filesystem::path&) {
    return -1;
}

}  // namespace vidor::test
