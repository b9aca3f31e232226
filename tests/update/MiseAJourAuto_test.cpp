#include "update/MiseAJourAuto.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/linux/LinuxPlatform.h"
#include "platform/scripted/ScriptedWindowSystem.h"
#include "tests/support/Sandbox.h"
#include "tests/update/FakeProcess.h"

namespace vidor::update {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::Buttons;
using Defaults = std::vector<std::string>;

std::string updaterMissing(const fs::path& programFolder) {
    return "Je ne trouve pas le programme \"Renovex\" dans le répertoire \"" +
           programFolder.string() + "\" qui me sert à tenir vos programmes à jour !";
}

class MiseAJourAutoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(maj);
        process.folder = prog.string();
        test::writeFile(prog / "Vidor", "local build");
        test::writeFile(prog / "Renovex", "updater");
        fs::last_write_time(prog / "Vidor", kLocalTime);
    }

    void store(const std::string& value) {
        sys.settings.write(platform::Hive::LocalMachine, kKey, "RépertoireMiseAJour", value);
    }
    std::optional<std::string> stored() {
        const auto value =
            sys.settings.read(platform::Hive::LocalMachine, kKey, "RépertoireMiseAJour");
        return value ? std::optional(value->text) : std::nullopt;
    }
    // Puts a copy of the program in the update folder, `offset` seconds later than the local one.
    void putCopy(int offset) {
        test::writeFile(maj / "Vidor", "published");
        fs::last_write_time(maj / "Vidor", kLocalTime + std::chrono::seconds(offset));
    }

    // Runs the procedure; true when it ended the program (always with the normal status).
    bool run() {
        try {
            MiseAJourAuto(sys);
        } catch (const platform::ProgramEnd& end) {
            EXPECT_EQ(end.status, platform::kExitNormal);
            return true;
        }
        return false;
    }

    // The program asked for the folder once per default text of `defaults`, offering to keep
    // the stored folder by cancelling when `folderKnown`.
    void expectPrompts(bool folderKnown, const Defaults& defaults) {
        ASSERT_EQ(windows.prompts.size(), defaults.size());
        for (std::size_t i = 0; i < defaults.size(); ++i) {
            EXPECT_TRUE(windows.prompts[i].prompt.ends_with(
                folderKnown ? "soit à nouveau accessible)" : "de la mise à jour automatique)"))
                << i;
            EXPECT_EQ(windows.prompts[i].defaultText, defaults[i]) << i;
        }
    }

    // The program showed `count` message boxes with `buttons`, each of them saying `part`.
    void expectShown(std::size_t count, const std::string& part, Buttons buttons) {
        ASSERT_EQ(windows.messages.size(), count);
        for (const auto& message : windows.messages) {
            EXPECT_NE(message.text.find(part), std::string::npos) << message.text;
            EXPECT_EQ(message.buttons, buttons);
        }
    }

    std::string majText() const { return maj.string() + "/"; }

    static constexpr const char* kKey = "Software\\Brenlo\\Brenlo";
    const fs::file_time_type kLocalTime = fs::file_time_type::clock::now() - std::chrono::hours(2);

    test::Sandbox sandbox{"C=3:c"};
    const fs::path prog = sandbox / "prog", maj = sandbox / "maj";
    // The machine's services, but for the process.
    test::FakeProcess process;
    platform::ScriptedWindowSystem windows;
    platform::linux_::LinuxPlatform machine{"", {}};
    const platform::Services real = machine.services(windows);
    platform::Services sys{real.settings, real.drives,  real.files,   real.webCache, process,
                           windows,       real.journal, real.trashed, real.notifier};
};

TEST_F(MiseAJourAutoTest, NothingHappensWithoutANewerCopyInAFolderWithinReach) {
    // The service declined ("-", even with a newer copy), then no copy, a copy as old as the
    // program, an older one.
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"-", 60}, {majText(), std::nullopt}, {majText(), 0}, {majText(), -60}};
    for (const auto& [value, offset] : cases) {
        store(value);
        fs::remove(maj / "Vidor");
        if (offset) putCopy(*offset);
        EXPECT_FALSE(run());
        EXPECT_EQ(stored(), value);
    }
    // Even without the updater, a folder out of reach says nothing, and is kept.
    fs::remove(prog / "Renovex");
    for (const std::string& value : {(sandbox / "absent").string(), std::string("  ")}) {
        store(value);
        EXPECT_FALSE(run());
        EXPECT_EQ(stored(), value);
    }
    EXPECT_TRUE(windows.messages.empty() && windows.prompts.empty() && process.started.empty());
    EXPECT_EQ(windows.beeps, 0);
}

TEST_F(MiseAJourAutoTest, MissingUpdaterAsksWhetherToKeepTheStoredFolderAndRefusesAnother) {
    // Yes keeps it, though a newer copy waits; No asks for another folder, whose prompt
    // cancelled keeps it too; a folder typed then is refused until "-" is typed, stored for good.
    fs::remove(prog / "Renovex");
    store(maj.string());
    putCopy(60);
    const std::string other = (sandbox / "autre").string() + "/";
    windows.answers = {Answer::Yes, Answer::No, Answer::No};
    windows.promptAnswers = {"", other, " - "};
    for (const std::string& after : {maj.string(), maj.string(), std::string("-")}) {
        EXPECT_FALSE(run());
        EXPECT_EQ(stored(), after);
    }
    ASSERT_EQ(windows.messages.size(), 4u);
    EXPECT_EQ(windows.messages.back().text, updaterMissing(prog));
    EXPECT_EQ(windows.messages.back().buttons, Buttons::Ok);
    windows.messages.pop_back();
    expectShown(3, updaterMissing(prog) + "\r\nDésirez-vous CONSERVER", Buttons::YesNo);
    expectPrompts(true, {maj.string(), maj.string(), other});
    EXPECT_TRUE(process.started.empty());
}

TEST_F(MiseAJourAutoTest, NothingStoredAsksForTheFolder) {
    // Cancelling, or typing only spaces, stores nothing; "-" is stored and asked no more.
    windows.promptAnswers = {"", "   ", "-"};
    EXPECT_FALSE(run());
    EXPECT_FALSE(run());
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_FALSE(run());
    EXPECT_FALSE(run());
    EXPECT_EQ(stored(), "-");
    EXPECT_TRUE(windows.messages.empty());
    // A typed folder is stored trimmed, with a single separator, and used at once.
    putCopy(60);
    for (const std::string& typed : {"  " + maj.string() + " ", majText()}) {
        store("");
        windows.promptAnswers = {typed};
        EXPECT_TRUE(run());
        EXPECT_EQ(stored(), majText());
    }
    EXPECT_EQ(process.started.size(), 2u);
    expectPrompts(false, Defaults(5, ""));
}

TEST_F(MiseAJourAutoTest, NewerCopyIsHandedOverWithTheRunsParametersUntilItIsInstalled) {
    // The program ends once the updater is started; the stored text keeps its form. An empty
    // parameter is handed on too.
    store(maj.string());
    putCopy(60);
    process.parameters = "/U:  /E:tmp";
    EXPECT_TRUE(run());
    EXPECT_EQ(stored(), maj.string());
    ASSERT_EQ(process.started.size(), 1u);
    EXPECT_EQ(process.started[0], (Defaults{prog.string() + "/Renovex", majText() + "Vidor",
                                            prog.string() + "/Vidor", "/U:", "", "/E:tmp"}));
    // The updater could not give the program the copy's date. The same copy is handed over
    // again only while the program was not replaced since (the update failed), three times at
    // most, lest every start end in the updater; a newer copy is handed over in any case.
    EXPECT_TRUE(run());
    fs::last_write_time(prog / "Vidor", kLocalTime + std::chrono::seconds(30));
    EXPECT_FALSE(run());
    putCopy(90);
    for (int handedOver = 0; handedOver < 3; ++handedOver) EXPECT_TRUE(run());
    EXPECT_FALSE(run());
    EXPECT_EQ(process.started.size(), 5u);
    // When the updater cannot start, the user chooses: Yes goes on, No ends the program.
    putCopy(120);
    process.startFailure = "Exec format error";
    windows.answers = {Answer::Yes, Answer::No};
    EXPECT_FALSE(run());
    EXPECT_TRUE(run());
    expectShown(2,
                "\"Vidor\" doit être mis à jour mais je ne peux pas lancer le programme de mise à "
                "jour (Renovex)",
                Buttons::YesNo);
    // A program without a date cannot be compared: it is said, and nothing is handed over.
    windows.messages.clear();
    fs::remove(prog / "Vidor");
    EXPECT_FALSE(run());
    EXPECT_EQ(process.started.size(), 7u);
    expectShown(1, "la date du fichier \"" + prog.string() + "/Vidor\"", Buttons::Ok);
}

TEST_F(MiseAJourAutoTest, RunningFromTheUpdateFolderEndsTheProgram) {
    // The same folder under a name that differs only in letter case (a link makes it exist);
    // another form of it, through a link, is not recognised.
    fs::create_directory_symlink(prog, sandbox / "PROG");
    fs::create_directory_symlink(prog, sandbox / "lien");
    for (const fs::path& folder : {prog, sandbox / "PROG", sandbox / "lien"}) {
        store(folder.string());
        EXPECT_EQ(run(), folder != sandbox / "lien") << folder;
    }
    expectShown(2, "depuis son répertoire de mise à jour", Buttons::Ok);
    EXPECT_TRUE(process.started.empty());
}

TEST_F(MiseAJourAutoTest, PublisherKeepsTheCopyInTheUpdateFolderUpToDateOrSaysWhyNot) {
    // The marker beside the program makes it publish its copies. A missing copy is made
    // without a beep; one that is not older is kept; an older one is replaced with a beep.
    test::writeFile(prog / "Vidor.vbp", "project");
    store(majText());
    EXPECT_FALSE(run());
    EXPECT_EQ(test::readFile(maj / "Vidor"), "local build");
    for (int offset : {0, 60}) {
        putCopy(offset);
        EXPECT_FALSE(run());
        EXPECT_EQ(test::readFile(maj / "Vidor"), "published");
    }
    EXPECT_EQ(windows.beeps, 0);
    putCopy(-60);
    EXPECT_FALSE(run());
    EXPECT_EQ(test::readFile(maj / "Vidor"), "local build");
    EXPECT_EQ(windows.beeps, 1);
    EXPECT_TRUE(windows.messages.empty() && process.started.empty());
    // A folder where the copy should go is no file to delete, and no file can be written in its
    // place, whoever runs the test: that is said, without a beep.
    fs::remove(maj / "Vidor");
    fs::create_directories(maj / "Vidor" / "inside");
    EXPECT_FALSE(run());
    EXPECT_EQ(windows.beeps, 1);
    expectShown(1,
                "programme \"Vidor\" dans le répertoire réseau \"" + majText() +
                    "\" à partir de celle se trouvant dans le répertoire \"" + prog.string() +
                    "/\"",
                Buttons::Ok);
    EXPECT_TRUE(windows.messages[0].text.ends_with(std::string("(") + std::strerror(EISDIR) + ")"));
    EXPECT_TRUE(fs::is_directory(maj / "Vidor" / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(maj), {}), 1);
}

}  // namespace
}  // namespace vidor::update
