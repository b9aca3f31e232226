#include "tests/platform/windows/support/WindowsTestMachine.h"

namespace vidor::test {

// The command line the system would give: the program's name quoted, then the arguments as
// they were typed.
static std::string commandLineOf(const std::string& programPath,
                                 const std::vector<std::string>& arguments) {
    std::string line = "\"" + programPath + "\"";
    for (const std::string& argument : arguments) line += " " + argument;
    return line;
}

TestMachine::TestMachine(const std::string& programPath, const std::vector<std::string>& arguments)
    : machine_(sandboxDrives(),
               platform::windows::WindowsProcess(programPath, commandLineOf(programPath, arguments),
                                                 sandboxName() + ".")) {}

}  // namespace vidor::test
