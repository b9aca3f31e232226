#pragma once

// The machine the tests run the program on: the backend of the system the tests are built for.

#ifdef _WIN32
#include "tests/platform/windows/support/WindowsTestMachine.h"
#else
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/LinuxSettings.h"

namespace vidor::test {

using TestMachine = platform::linux_::LinuxPlatform;
using TestSettings = platform::linux_::LinuxSettings;
using TestWebCache = platform::linux_::LinuxWebCache;
// Where the program is installed, as far as it knows.
inline constexpr const char* kTestProgram = "/opt/vidor/Vidor";

// A census of the tests' own folders meets no file of this machine's packages: it is spared the
// reading of dpkg's lists, and its answers do not hang on what this machine has installed.
inline void withoutPackageLists(TestMachine& machine) {
    machine.files().readPackageListsFrom("/nonexistent/dpkg/info");
}

}  // namespace vidor::test
#endif
