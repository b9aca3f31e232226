#include "tests/platform/windows/support/WindowsTestMachine.h"

#include <cstdlib>
#include <sstream>

namespace vidor::test {

namespace {

// The drives of the running test's sandbox, from the drive map it set as on Linux: temp folders
// that stand for drive letters, never the machine's own drives (a test without any has none).
platform::windows::DriveTable sandboxDrives() {
    platform::windows::DriveTable table{true, {}};
    const char* unites = std::getenv("VIDOR_UNITES");
    std::istringstream in(unites ? unites : "");
    for (std::string entry; std::getline(in, entry, ';');)
        table.drives[entry[0]] = {entry[2] - '0', entry.substr(4)};
    return table;
}

// The command line the system would give: the program's name quoted, then the arguments as
// they were typed.
std::string commandLineOf(const std::string& programPath,
                          const std::vector<std::string>& arguments) {
    std::string line = "\"" + programPath + "\"";
    for (const std::string& argument : arguments) line += " " + argument;
    return line;
}

}  // namespace

TestMachine::TestMachine(const std::string& programPath, const std::vector<std::string>& arguments)
    : WindowsPlatform(sandboxDrives(), platform::windows::WindowsProcess(
                                           programPath, commandLineOf(programPath, arguments),
                                           sandboxName() + ".")) {}

}  // namespace vidor::test
