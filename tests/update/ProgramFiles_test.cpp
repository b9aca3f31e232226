#include "update/ProgramFiles.h"

#include <gtest/gtest.h>

#include "tests/update/FakeProcess.h"

namespace vidor::update {
namespace {

TEST(ProgramFilesTest, WindowsPathsEndWithABackslashAndNameExeFiles) {
    test::FakeProcess process;
    process.folder = "C:\\Programmes\\Brenlo";
    process.suffix = ".exe";
    process.slash = '\\';
    const ProgramFiles files(process);

    EXPECT_EQ(files.folder(), "C:\\Programmes\\Brenlo");
    EXPECT_EQ(files.baseName(), "Vidor");
    EXPECT_EQ(files.program(), "C:\\Programmes\\Brenlo\\Vidor.exe");
    EXPECT_EQ(files.updater(), "C:\\Programmes\\Brenlo\\Renovex.exe");
    EXPECT_EQ(files.marker(), "C:\\Programmes\\Brenlo\\Vidor.vbp");
    EXPECT_EQ(files.copyIn("\\\\serveur\\maj\\"), "\\\\serveur\\maj\\Vidor.exe");
    EXPECT_EQ(files.withSeparator("\\\\serveur\\maj"), "\\\\serveur\\maj\\");
    EXPECT_EQ(files.withSeparator("\\\\serveur\\maj\\"), "\\\\serveur\\maj\\");
    // A slash is no separator there.
    EXPECT_EQ(files.withSeparator("D:/maj/"), "D:/maj/\\");
}

TEST(ProgramFilesTest, LinuxPathsUseTheSlashAndNoSuffix) {
    test::FakeProcess process;
    process.folder = "/opt/brenlo";
    process.name = "Vidor2";
    const ProgramFiles files(process);

    EXPECT_EQ(files.program(), "/opt/brenlo/Vidor2");
    EXPECT_EQ(files.updater(), "/opt/brenlo/Renovex");
    EXPECT_EQ(files.marker(), "/opt/brenlo/Vidor2.vbp");
    EXPECT_EQ(files.copyIn("/srv/maj/"), "/srv/maj/Vidor2");
    EXPECT_EQ(files.withSeparator(""), "/");
    EXPECT_EQ(files.withSeparator("/srv/maj"), "/srv/maj/");

    // A program at the root: its folder already ends with the separator, which the updater's
    // path adds again without a test.
    process.folder = "/";
    const ProgramFiles atRoot(process);
    EXPECT_EQ(atRoot.program(), "/Vidor2");
    EXPECT_EQ(atRoot.marker(), "/Vidor2.vbp");
    EXPECT_EQ(atRoot.updater(), "//Renovex");
}

}  // namespace
}  // namespace vidor::update
