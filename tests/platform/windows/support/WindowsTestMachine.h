#pragma once

#include <string>
#include <vector>

#include "platform/windows/WindowsPlatform.h"

namespace vidor::test {

// A name of the running test's sandbox that no other sandbox has at the same time.
std::string sandboxName();

// The Windows services of a program started as `programPath` with `arguments`, whose drives are
// those of the sandbox.
class TestMachine : public platform::windows::WindowsPlatform {
  public:
    TestMachine(const std::string& programPath, const std::vector<std::string>& arguments);
};

using TestSettings = platform::windows::RegistrySettings;
using TestWebCache = platform::windows::WindowsWebCache;
// Where the program is installed, as far as it knows (on the sandbox's drive C:).
inline constexpr const char* kTestProgram = "C:\\Programmes\\Vidor\\Vidor.exe";
// Windows has no package lists to spare.
inline void withoutPackageLists(TestMachine&) {}

}  // namespace vidor::test
