#include "platform/linux/LinuxJournal.h"

#include <gtest/gtest.h>

#include "tests/support/Sandbox.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;

TEST(LinuxJournalTest, LinesAreAddedWholeAndNeverThroughALink) {
    test::Sandbox sandbox;
    const fs::path file = sandbox / "STATE_HOME" / "Brenlo" / "Vidor" / "journal.tsv";
    ASSERT_EQ(LinuxJournal::path(), file.string());
    std::string error;
    {
        LinuxJournal journal;
        EXPECT_EQ(journal.read(), "");
        ASSERT_TRUE(journal.append("one\n", error)) << error;
    }
    // A line cut short by a crash is closed before the next one.
    test::writeFile(file, test::readFile(file) + "cut sho");
    {
        LinuxJournal journal;
        ASSERT_TRUE(journal.append("two\n", error)) << error;
        EXPECT_EQ(journal.read(), "one\ncut sho\ntwo\n");
        EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    }

    // A link in the journal's place is neither written through nor followed to be read; a new
    // whole journal takes its place.
    const fs::path other = sandbox / "other.txt";
    test::writeFile(other, "someone's\n");
    fs::remove(file);
    fs::create_symlink(other, file);
    LinuxJournal journal;
    EXPECT_FALSE(journal.append("three\n", error));
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_EQ(journal.read(), std::nullopt);
    EXPECT_TRUE(journal.replace("four\n"));
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_TRUE(journal.append("five\n", error)) << error;
    EXPECT_EQ(test::readFile(file), "four\nfive\n");
    EXPECT_EQ(test::readFile(other), "someone's\n");
}

}  // namespace
}  // namespace vidor::platform::linux_
