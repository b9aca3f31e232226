// "/RESTAURER": the last run's files come back from the trash, their folders made again.

#include "tests/support/CensusTest.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;

class RestoreTest : public test::CensusTest {
  protected:
    // Runs "/RESTAURER"; what it printed is then in `out` and `err`.
    std::optional<int> restore() {
        test::Session session({"/RESTAURER"});
        const auto status = session.loadPrinting();
        out = session.out, err = session.err;
        return status;
    }
    std::string out, err;
};

TEST_F(RestoreTest, OnlyTheLastRunsOwnTrashComesBackAndOnlyWhereItsPlaceIsFree) {
    test::writeFile(c / "TEMP" / "y.dat", "yy");
    test::writeFile(c / "TEMP" / "d" / "x.dat", "xxx");
    test::writeFile(c / "TEMP" / "d" / "w.dat", "w");
    fs::permissions(c / "TEMP" / "d", static_cast<fs::perms>(0750));
    test::writeFile(c / "a.tmp", "a");
    test::writeFile(c / "z" / "b.tmp", "b");
    {
        // A purge and a deletion to the trash, then the last file deleted for good.
        test::Session run;
        app::F_Main& form = *run.form;
        run.census({.extensions = {"tmp"}, .purgeTemp = true});
        ASSERT_EQ(test::itemsOf(form.lDel),
                  (std::vector<std::string>{"C:\\a.tmp", "C:\\z\\b.tmp"}));
        run.windows.atYield(run.windows.yields + 1, [&] { form.Poubel2.setValue(0); });
        EXPECT_EQ(run.act([&] { form.bEffacer.press(); }), platform::kExitNormal);
    }
    ASSERT_FALSE(fs::exists(c / "TEMP" / "d"));
    // Meanwhile a new file took one of the places, and the user put something else of the same
    // name and path in the trash in the place of x.dat.
    test::writeFile(c / "TEMP" / "y.dat", "mine");
    const fs::path x = sandbox.trashFiles() / "x.dat";
    ASSERT_TRUE(fs::exists(x));
    test::writeFile(x, "someone else's");

    EXPECT_EQ(restore(), platform::kExitUndeleted);
    EXPECT_NE(out.find("C:\\TEMP\\d\\w.dat\n"), std::string::npos) << out;
    EXPECT_NE(out.find("C:\\a.tmp\n"), std::string::npos) << out;
    EXPECT_TRUE(
        out.ends_with("2 fichiers remis en place, 2 fichiers restés dans la corbeille ; "
                      "1 fichier supprimé pour de bon par le dernier nettoyage ne peut "
                      "pas revenir.\n"))
        << out;
    EXPECT_TRUE(err.starts_with("C:\\TEMP\\y.dat\tsa place est prise")) << err;
    EXPECT_NE(err.find("\nC:\\TEMP\\d\\x.dat\til n'est plus dans la corbeille"), std::string::npos)
        << err;
    EXPECT_EQ(test::readFile(c / "TEMP" / "d" / "w.dat"), "w");
    EXPECT_EQ(test::readFile(c / "a.tmp"), "a");
    EXPECT_EQ(test::readFile(c / "TEMP" / "y.dat"), "mine");
    EXPECT_EQ(fs::status(c / "TEMP" / "d").permissions(), static_cast<fs::perms>(0750));

    // Once its place is free again, the one left comes back; the others are back already, or
    // were never the run's.
    fs::remove(c / "TEMP" / "y.dat");
    EXPECT_EQ(restore(), platform::kExitUndeleted) << err;
    EXPECT_TRUE(out.starts_with("C:\\TEMP\\y.dat\n1 fichier remis en place")) << out;
    EXPECT_EQ(test::readFile(c / "TEMP" / "y.dat"), "yy");
    EXPECT_FALSE(fs::exists(c / "TEMP" / "d" / "x.dat"));
    EXPECT_EQ(test::readFile(x), "someone else's");
    EXPECT_EQ(std::distance(fs::directory_iterator(sandbox.trashFiles()), {}), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(sandbox.trashInfo()), {}), 1);
}

}  // namespace
}  // namespace vidor::census
