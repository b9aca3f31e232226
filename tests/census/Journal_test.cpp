// The journal: one line per file removed, by the deletion or by a purge, whatever the run.

#include "census/JournalLine.h"
#include "tests/support/CensusTest.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;

class JournalTest : public test::CensusTest {
  protected:
    // The lines of the journal, each checked to read back as the journal writes it.
    std::vector<JournalLine> lines(test::Session& session) {
        const std::string text = session.services.journal.read().value_or("");
        std::vector<JournalLine> read;
        std::size_t at = 0;
        for (std::size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
            const auto line = parseJournalLine(std::string_view(text).substr(at, end - at));
            EXPECT_TRUE(line) << text.substr(at, end - at);
            if (line) read.push_back(*line);
        }
        EXPECT_EQ(at, text.size()) << "a last line without its line break";
        return read;
    }

    // A name of this test's own, for the trash that Wine shares between tests and runs.
    const std::string own = sandbox.dir().path().filename().string() + ".tmp";
};

TEST_F(JournalTest, EachRemovalIsALineSayingHowWhereAndHowBig) {
    test::writeFile(c / "TEMP" / "p.dat", "12345");
    test::writeFile(c / "a.tmp", "aaa");
    test::writeFile(c / "x" / own, "bb");
    auto session = std::make_unique<test::Session>();
    app::F_Main& form = *session->form;
    const std::int64_t before = session->services.journal.now();
    EXPECT_EQ(session->census({.extensions = {"tmp"}, .toTrash = false, .purgeTemp = true}),
              std::nullopt);
    // The second file goes to the trash: the box is ticked during the deletion.
    session->windows.atYield(session->windows.yields + 1, [&] { form.Poubel2.setValue(1); });
    EXPECT_EQ(session->act([&] { form.bEffacer.press(); }), platform::kExitNormal);

    const std::vector<JournalLine> read = lines(*session);
    ASSERT_EQ(read.size(), 3u) << session->services.journal.read().value_or("");
    const auto said = [&](int i) {
        return read[i].how + " " + read[i].path + " " + std::to_string(read[i].size);
    };
    EXPECT_EQ(said(0), "purgé C:\\TEMP\\p.dat 5");
    EXPECT_EQ(said(1), "effacé C:\\a.tmp 3");
    EXPECT_EQ(read[1].trashedAs, "");
    EXPECT_EQ(read[2].how + " " + read[2].path, "corbeille C:\\x\\" + own);
#ifndef _WIN32
    // Where it lies in the trash, and what it needs to come back; the recycle bin of Windows
    // does not tell.
    EXPECT_EQ(said(2), "corbeille C:\\x\\" + own + " 2");
    EXPECT_TRUE(fs::exists(read[2].trashedAs)) << read[2].trashedAs;
    EXPECT_FALSE(read[2].folders.empty());
#endif
    // One word to the desktop once the deletion is done, the purge included.
    EXPECT_EQ(session->notices.texts,
              (std::vector<std::string>{"Vidor: 2 fichiers supprimés (8 bytes libérés), 1 fichier "
                                        "mis à la corbeille (2 bytes)."}));
    for (const JournalLine& line : read) {
        EXPECT_EQ(line.run, read[0].run);
        EXPECT_GE(line.time, before);
        EXPECT_LE(line.time, before + 60);
    }
    // The next run appends its own lines, and tells itself apart.
    test::writeFile(c / "b.tmp", "b");
    session.reset();
    test::Session next({"/U:c", "/E:tmp"});
    EXPECT_EQ(next.load(), platform::kExitNormal);
    const std::vector<JournalLine> all = lines(next);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[3].path, "C:\\b.tmp");
    EXPECT_NE(all[3].run, read[0].run);
    // An unattended run always tells how it went.
    EXPECT_EQ(next.notices.texts,
              (std::vector<std::string>{"Vidor: 1 fichier mis à la corbeille (1 bytes)."}));
}

}  // namespace
}  // namespace vidor::census
