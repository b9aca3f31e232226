#include "update/ProgramFiles.h"

#include <gtest/gtest.h>

#include "tests/update/FakeProcess.h"

namespace vidor::update {
namespace {

TEST(ProgramFilesTest, PathsFollowTheSystemsSeparatorAndSuffix) {
    test::FakeProcess process;
    process.folder = "C:\\Programmes\\Brenlo";
    process.name = "Vidor2";
    process.suffix = ".exe";
    process.slash = '\\';
    const ProgramFiles files(process);
    EXPECT_EQ(files.program(), "C:\\Programmes\\Brenlo\\Vidor2.exe");
    EXPECT_EQ(files.updater(), "C:\\Programmes\\Brenlo\\Renovex.exe");
    EXPECT_EQ(files.marker(), "C:\\Programmes\\Brenlo\\Vidor2.vbp");
    EXPECT_EQ(files.copyIn("\\\\serveur\\maj\\"), "\\\\serveur\\maj\\Vidor2.exe");
    EXPECT_EQ(files.withSeparator("\\\\serveur\\maj"), "\\\\serveur\\maj\\");
    EXPECT_EQ(files.withSeparator("D:/maj/"), "D:/maj/\\");  // a slash is no separator there
}

}  // namespace
}  // namespace vidor::update
