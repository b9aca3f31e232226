// "/LISTE": the census of an unattended run, printed; nothing removed, stored or shown.

#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace vidor::app {
namespace {

namespace fs = std::filesystem;

class PreviewTest : public ::testing::Test {
  protected:
    PreviewTest() {
        test::writeFile(c / "a.tmp", "aaa");
        test::writeFile(c / "sub" / "b.TMP", "bb");
        test::writeFile(c / "keep.txt", "k");
        test::writeFile(d / "d.tmp", "dddd");
    }

    // Runs the program with `arguments`; what it printed is then in `out` and `err`.
    std::optional<int> run(const std::vector<std::string>& arguments) {
        test::Session session(arguments);
        const auto status = session.loadPrinting();
        out = session.out, err = session.err;
        shown += session.windows.shown.size() + session.windows.messages.size();
        journal += session.services.journal.read().value_or("?");
        return status;
    }

    test::Sandbox sandbox{"C=3:c;D=2:d"};
    fs::path c = sandbox.drive('C');
    fs::path d = sandbox.drive('D');
    std::string out, err, journal;
    std::size_t shown = 0;
};

TEST_F(PreviewTest, TheFilesARunWouldRemoveArePrintedAndNothingChangesNorIsShown) {
    EXPECT_EQ(run({"/LISTE", "/U:c,d", "/E:tmp"}), platform::kExitNormal);
    EXPECT_EQ(out, "3\tC:\\a.tmp\n2\tC:\\sub\\b.TMP\n4\tD:\\d.tmp\n3 fichiers, 9 bytes\n");
    // A bad parameter is told on standard error.
    EXPECT_EQ(run({"/U:c", "/LISTE", "/X"}), platform::kExitBadParameter);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("Je ne comprend pas le paramètre \"/X\""), std::string::npos) << err;
    // /AUTO keeps its place at the head of what remains, ignoring the rest but the preview;
    // alone, the drives of a manual start.
    test::storeUserSetting("Unités sélectionnées", "D:\t");
    test::storeUserSetting("Extensions sélectionnées", "tmp\t");
    EXPECT_EQ(run({"/auto", "/U:c", "/Liste"}), platform::kExitNormal);
    EXPECT_EQ(out, "4\tD:\\d.tmp\n1 fichier, 4 bytes\n") << err;
    EXPECT_NE(err.find("/AUTO fait ignorer"), std::string::npos) << err;
    EXPECT_EQ(run({"/LISTE"}), platform::kExitNormal);
    EXPECT_EQ(out, "3\tC:\\a.tmp\n2\tC:\\sub\\b.TMP\n2 fichiers, 5 bytes\n");

    // Nothing removed, nothing journaled or stored (not even the run counter), nothing shown.
    for (const char* file : {"a.tmp", "sub/b.TMP", "keep.txt"}) EXPECT_TRUE(fs::exists(c / file));
    EXPECT_TRUE(fs::exists(d / "d.tmp"));
    EXPECT_EQ(journal, "");
    EXPECT_EQ(test::machineSetting("Vidor"), std::nullopt);
    EXPECT_EQ(test::userSetting("Extensions"), std::nullopt);
    EXPECT_EQ(shown, 0u);
}

}  // namespace
}  // namespace vidor::app
