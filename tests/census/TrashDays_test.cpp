// What the program sent to the trash leaves it after its days there, and only that.

#include "tests/support/CensusTest.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kDay = 86400;

class TrashDaysTest : public test::CensusTest {
  protected:
    // A census at `day` days from now (it finds nothing to list); the journal afterwards.
    std::string censusOnDay(int day) {
        test::Session run({"/U:c", "/E:none"});
        const std::int64_t now = run.services.journal.now();
        run.machine.journal().setClock([=] { return now + day * kDay; });
        EXPECT_EQ(run.load(), platform::kExitNormal);
        return run.services.journal.read().value_or("");
    }
};

TEST_F(TrashDaysTest, TheProgramsOwnTrashIsEmptiedAfterItsDaysAndTheUsersNever) {
    test::writeFile(c / "old.tmp", "old");
    test::writeFile(c / "grown.tmp", "g");
    EXPECT_EQ(test::runToEnd({"/U:c", "/E:tmp"}), platform::kExitNormal);
    const fs::path old = sandbox.trashFiles() / "old.tmp";
    const fs::path grown = sandbox.trashFiles() / "grown.tmp";
    ASSERT_TRUE(fs::exists(old) && fs::exists(grown));
    // No longer the file the program put there.
    test::writeFile(grown, "grown since");
    // The user's own, long in the trash, at a place where the program could have put it.
    test::writeFile(sandbox.trashFiles() / "mine.tmp", "mine");
    test::writeFile(
        sandbox.trashInfo() / "mine.tmp.trashinfo",
        "[Trash Info]\nPath=" + (c / "mine.tmp").string() + "\nDeletionDate=2001-01-01T00:00:00\n");

    censusOnDay(29);
    EXPECT_TRUE(fs::exists(old));
    // 0 is never, not "at once".
    test::storeUserSetting("Jours en corbeille", "0");
    censusOnDay(29);
    EXPECT_TRUE(fs::exists(old));

    test::storeUserSetting("Jours en corbeille", "30");
    const std::string journal = censusOnDay(31);
    EXPECT_FALSE(fs::exists(old));
    EXPECT_FALSE(fs::exists(sandbox.trashInfo() / "old.tmp.trashinfo"));
    EXPECT_EQ(test::readFile(grown), "grown since");
    EXPECT_EQ(test::readFile(sandbox.trashFiles() / "mine.tmp"), "mine");
    EXPECT_TRUE(fs::exists(sandbox.trashInfo() / "mine.tmp.trashinfo"));
    // The journal tells what left the trash, and keeps no line older than its days.
    EXPECT_EQ(journal.find("\tcorbeille\t"), std::string::npos) << journal;
    EXPECT_NE(journal.find("\tvidé\t3\tC:\\old.tmp\t" + old.string() + "\t"), std::string::npos)
        << journal;
}

}  // namespace
}  // namespace vidor::census
