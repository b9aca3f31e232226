#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

namespace vidor::platform {
namespace {

using Names = std::vector<std::string>;

TEST(ProgramPathTest, ADriveLetterAndAColonStartTheProgramsPathsWithOrWithoutTheRootsBackslash) {
    for (const char* path : {"C:", "C:\\", "c:\\a\\b.tmp", "Z:a"}) {
        EXPECT_TRUE(isProgramPath(path)) << path;
    }
    for (const char* path : {"", "C", "1:\\", ":\\", "\\\\server\\share", "\\\\?\\C:\\a", "/a:"}) {
        EXPECT_FALSE(isProgramPath(path)) << path;
    }
    EXPECT_EQ(programPathNames("C:"), Names{});
    EXPECT_EQ(programPathNames("C:\\"), Names{});
    EXPECT_EQ(programPathNames("C:\\a\\\\b.tmp\\"), (Names{"a", "b.tmp"}));
}

}  // namespace
}  // namespace vidor::platform
