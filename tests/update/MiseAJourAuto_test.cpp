#include "update/MiseAJourAuto.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "korlib/Registre.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxSettings.h"
#include "platform/linux/LinuxWebCache.h"
#include "platform/scripted/ScriptedWindowSystem.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Unprivileged.h"
#include "tests/update/FakeProcess.h"

namespace vidor::update {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::Buttons;
using platform::Icon;
using Message = platform::ScriptedWindowSystem::Message;

constexpr const char* kCrLf = "\r\n";

// The texts the user reads, written out in full.
std::string keepQuestion(const std::string& programFolder) {
    return "Je ne trouve pas le programme \"Renovex.exe\" dans le répertoire \"" + programFolder +
           "\" qui me sert à tenir vos programmes à jour !\r\n"
           "Désirez-vous CONSERVER ce nom de répertoire ?\r\n\r\n"
           "Répondez OUI S'IL EST TEMPORAIREMENT INATTEIGNABLE.\r\n\r\n"
           "Répondez NON pour changer de répertoire ou renoncer définitivement à ce service.";
}

std::string updaterMissing(const std::string& programFolder) {
    return "Je ne trouve pas le programme \"Renovex.exe\" dans le répertoire \"" + programFolder +
           "\" qui me sert à tenir vos programmes à jour !";
}

const std::string kPromptStart =
    "Ce programme est équipé du système de mise à jour automatique. Ceci lui permet de se mettre "
    "automatiquement à jour dès qu'une nouvelle version est disponible dans le répertoire de mise "
    "à jour.\r\n\r\nRépertoire de mise à jour :\r\n\r\n(Typer un signe moins (-) si votre "
    "ordinateur n'est pas en réseau ou si vous ne désirez pas bénéficier de la mise à jour "
    "automatique";
const std::string kPromptFirstTime = kPromptStart + ")";
const std::string kPromptWithFolder =
    kPromptStart +
    ", ou cliquez sur \"Annuler\" pour conserver le répertoire actuel et renoncer temporairement "
    "à la mise à jour automatique jusqu'à que ce répertoire soit à nouveau accessible)";

class MiseAJourAutoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(prog);
        fs::create_directories(maj);
        process.folder = prog.string();
        test::writeFile(prog / "Vidor", "local build");
        test::writeFile(prog / "Renovex", "updater");
        fs::last_write_time(prog / "Vidor", kLocalTime);
    }

    void store(const std::string& value) {
        settings.write(platform::Hive::LocalMachine, "Software\\Brenlo\\Brenlo",
                       "RépertoireMiseAJour", value);
    }
    std::optional<std::string> stored() {
        auto value = settings.read(platform::Hive::LocalMachine, "Software\\Brenlo\\Brenlo",
                                   "RépertoireMiseAJour");
        return value ? std::optional<std::string>(value->text) : std::nullopt;
    }

    // Puts a copy of the program in the update folder, `offset` later than the local one.
    void putCopy(std::chrono::seconds offset) {
        test::writeFile(maj / "Vidor", "published");
        fs::last_write_time(maj / "Vidor", kLocalTime + offset);
    }

    // Runs the procedure; true when it ended the program (always with the normal status).
    bool run() {
        try {
            MiseAJourAuto(sys);
            return false;
        } catch (const platform::ProgramEnd& end) {
            EXPECT_EQ(end.status, platform::kExitNormal);
            EXPECT_EQ(windows.endStatus, std::optional<int>(platform::kExitNormal));
            return true;
        }
    }

    std::string majText() const { return maj.string() + "/"; }

    static void expectMessage(const Message& message, const std::string& text, Buttons buttons,
                              Icon icon, const std::string& title) {
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.buttons, buttons);
        EXPECT_EQ(message.icon, icon);
        EXPECT_EQ(message.title, title);
    }

    const fs::file_time_type kLocalTime = fs::file_time_type::clock::now() - std::chrono::hours(2);

    test::Sandbox sandbox{"C=3:c"};
    const fs::path prog = sandbox / "prog";
    const fs::path maj = sandbox / "maj";
    platform::linux_::DriveMap map = platform::linux_::DriveMap::fromSystem();
    platform::linux_::LinuxSettings settings;
    platform::linux_::LinuxDrives drives{map};
    platform::linux_::LinuxFileSystem files{map};
    platform::linux_::LinuxWebCache webCache;
    test::FakeProcess process;
    platform::ScriptedWindowSystem windows;
    platform::Services sys{settings, drives, files, webCache, process, windows};
};

TEST_F(MiseAJourAutoTest, DeclinedServiceDoesNothingEvenWithANewerCopy) {
    store("-");
    putCopy(std::chrono::seconds(60));
    EXPECT_FALSE(run());
    EXPECT_TRUE(windows.messages.empty());
    EXPECT_TRUE(windows.prompts.empty());
    EXPECT_TRUE(process.started.empty());
    EXPECT_EQ(stored(), "-");
}

TEST_F(MiseAJourAutoTest, FolderOutOfReachIsPassedOverSilently) {
    // Neither a missing folder nor a stored value that is not a text (which reads as the
    // store's fixed message) says a word, and neither is changed.
    fs::remove(prog / "Renovex");
    for (const std::string& value : {(sandbox / "absent").string(), std::string("  ")}) {
        store(value);
        EXPECT_FALSE(run());
        EXPECT_EQ(stored(), value);
    }
    test::writeFile(sandbox.configHome() / "Brenlo" / "Brenlo.conf",
                    "[General]\nRépertoireMiseAJour=1, 2\n");
    ASSERT_EQ(korlib::Registre(settings, "Vidor")
                  .RegistreLit("RépertoireMiseAJour", "Brenlo", platform::Hive::LocalMachine),
              std::optional<std::string>(korlib::kValeurNonTexte));
    EXPECT_FALSE(run());

    EXPECT_TRUE(windows.messages.empty());
    EXPECT_TRUE(windows.prompts.empty());
    EXPECT_TRUE(process.started.empty());
}

TEST_F(MiseAJourAutoTest, MissingUpdaterWithAStoredFolderYesKeepsTheFolder) {
    fs::remove(prog / "Renovex");
    store(maj.string());
    putCopy(std::chrono::seconds(60));
    windows.answers = {Answer::Yes};
    EXPECT_FALSE(run());

    ASSERT_EQ(windows.messages.size(), 1u);
    expectMessage(windows.messages[0], keepQuestion(prog.string()), Buttons::YesNo, Icon::Question,
                  "Brenlo - Attention");
    EXPECT_TRUE(windows.prompts.empty());
    EXPECT_TRUE(process.started.empty());
    EXPECT_EQ(stored(), maj.string());
}

TEST_F(MiseAJourAutoTest, MissingUpdaterWithAStoredFolderNoAsksAgain) {
    fs::remove(prog / "Renovex");
    store(maj.string());
    windows.answers = {Answer::No};
    EXPECT_FALSE(run());  // the prompt is cancelled

    ASSERT_EQ(windows.messages.size(), 1u);
    ASSERT_EQ(windows.prompts.size(), 1u);
    EXPECT_EQ(windows.prompts[0].prompt, kPromptWithFolder);
    EXPECT_EQ(windows.prompts[0].title, "Brenlo");
    EXPECT_EQ(windows.prompts[0].defaultText, maj.string());
    EXPECT_EQ(stored(), maj.string());

    // "-" given then is stored for good.
    windows.answers = {Answer::No};
    windows.promptAnswers = {" - "};
    EXPECT_FALSE(run());
    EXPECT_EQ(stored(), "-");
}

TEST_F(MiseAJourAutoTest, NothingStoredAsksForTheFolder) {
    // Cancelling, or typing only spaces, stores nothing.
    windows.promptAnswers = {"", "   "};
    EXPECT_FALSE(run());
    EXPECT_FALSE(run());
    EXPECT_EQ(stored(), std::nullopt);
    ASSERT_EQ(windows.prompts.size(), 2u);
    EXPECT_EQ(windows.prompts[0].prompt, kPromptFirstTime);
    EXPECT_EQ(windows.prompts[0].title, "Brenlo");
    EXPECT_EQ(windows.prompts[0].defaultText, "");

    // "-" is stored and no question comes back at the next start.
    windows.promptAnswers = {"-"};
    EXPECT_FALSE(run());
    EXPECT_EQ(stored(), "-");
    EXPECT_FALSE(run());
    EXPECT_EQ(windows.prompts.size(), 3u);
    EXPECT_TRUE(windows.messages.empty());
}

TEST_F(MiseAJourAutoTest, TypedFolderIsStoredWithItsSeparatorAndUsedAtOnce) {
    putCopy(std::chrono::seconds(60));
    windows.promptAnswers = {"  " + maj.string() + " "};
    EXPECT_TRUE(run());
    EXPECT_EQ(stored(), majText());
    ASSERT_EQ(process.started.size(), 1u);

    // A folder typed with its separator keeps a single one.
    store("");
    windows.promptAnswers = {majText()};
    EXPECT_TRUE(run());
    EXPECT_EQ(stored(), majText());
    EXPECT_EQ(windows.prompts.size(), 2u);
}

TEST_F(MiseAJourAutoTest, TypedFolderWhileTheUpdaterIsMissingIsRefusedUntilMinusOrCancel) {
    fs::remove(prog / "Renovex");
    const std::string other = (sandbox / "autre").string();
    windows.promptAnswers = {maj.string(), other + "/", "-"};
    EXPECT_FALSE(run());

    ASSERT_EQ(windows.prompts.size(), 3u);
    EXPECT_EQ(windows.prompts[0].defaultText, "");
    EXPECT_EQ(windows.prompts[1].defaultText, majText());
    EXPECT_EQ(windows.prompts[2].defaultText, other + "/");
    for (const auto& prompt : windows.prompts) EXPECT_EQ(prompt.prompt, kPromptFirstTime);
    ASSERT_EQ(windows.messages.size(), 2u);
    for (const auto& message : windows.messages) {
        expectMessage(message, updaterMissing(prog.string()), Buttons::Ok, Icon::Exclamation,
                      "Brenlo - Attention !");
    }
    EXPECT_EQ(stored(), "-");

    // Ended by a cancel: nothing is stored.
    store("");
    windows.promptAnswers = {maj.string()};
    EXPECT_FALSE(run());
    EXPECT_EQ(windows.messages.size(), 3u);
    EXPECT_EQ(stored(), "");
}

TEST_F(MiseAJourAutoTest, CopyThatIsNotNewerIsLeftAlone) {
    store(majText());
    EXPECT_FALSE(run());  // no copy at all
    for (auto offset : {std::chrono::seconds(0), std::chrono::seconds(-60)}) {
        putCopy(offset);
        EXPECT_FALSE(run());
    }
    EXPECT_TRUE(process.started.empty());
    EXPECT_TRUE(windows.messages.empty());
    EXPECT_EQ(windows.beeps, 0);
    EXPECT_EQ(test::readFile(maj / "Vidor"), "published");
}

TEST_F(MiseAJourAutoTest, NewerCopyStartsTheUpdaterAndEndsTheProgram) {
    store(maj.string());
    putCopy(std::chrono::seconds(1));
    EXPECT_TRUE(run());

    ASSERT_EQ(process.started.size(), 1u);
    EXPECT_EQ(process.started[0].program, prog.string() + "/Renovex");
    EXPECT_EQ(process.started[0].arguments,
              (std::vector<std::string>{majText() + "Vidor", prog.string() + "/Vidor"}));
    EXPECT_TRUE(windows.messages.empty());
    // The stored text is not rewritten with its separator.
    EXPECT_EQ(stored(), maj.string());
    EXPECT_EQ(test::readFile(prog / "Vidor"), "local build");
}

TEST_F(MiseAJourAutoTest, UpdaterThatCannotStartLetsTheUserChoose) {
    const std::string question =
        "Le programme \"Vidor\" doit être mis à jour mais je ne peux pas lancer le programme de "
        "mise à jour (Renovex.exe) !" +
        std::string(kCrLf) + kCrLf;
    store(majText());
    putCopy(std::chrono::seconds(60));
    process.startFailure = "Exec format error";

    windows.answers = {Answer::Yes};
    EXPECT_FALSE(run());
    windows.answers = {Answer::No};
    EXPECT_TRUE(run());

    ASSERT_EQ(windows.messages.size(), 2u);
    for (const auto& message : windows.messages) {
        expectMessage(message, question, Buttons::YesNo, Icon::Question, "Brenlo - Attention");
    }
    EXPECT_EQ(process.started.size(), 2u);
}

TEST_F(MiseAJourAutoTest, RunningFromTheUpdateFolderEndsTheProgram) {
    const std::string text =
        "Il n'est pas permis d'exécuter ce programme depuis son répertoire de mise à jour !\r\n\r\n"
        "Vous pouvez cependant en faire une copie sur votre disque dur et exécuter cette dernière "
        "!";
    // The same folder under a name that differs only in letter case (a link makes it exist).
    fs::create_directory_symlink(prog, sandbox / "PROG");
    for (const fs::path& folder : {prog, sandbox / "PROG"}) {
        store(folder.string());
        EXPECT_TRUE(run());
    }
    ASSERT_EQ(windows.messages.size(), 2u);
    for (const auto& message : windows.messages) {
        expectMessage(message, text, Buttons::Ok, Icon::Exclamation, "Brenlo - Attention");
    }

    // Another form of the same folder is not recognised.
    fs::create_directory_symlink(prog, sandbox / "lien");
    store((sandbox / "lien").string());
    EXPECT_FALSE(run());
    EXPECT_EQ(windows.messages.size(), 2u);
    EXPECT_TRUE(process.started.empty());
}

TEST_F(MiseAJourAutoTest, ProgramWithoutADateIsReported) {
    fs::remove(prog / "Vidor");
    store(majText());
    putCopy(std::chrono::seconds(60));
    EXPECT_FALSE(run());
    ASSERT_EQ(windows.messages.size(), 1u);
    expectMessage(windows.messages[0],
                  "Je ne peux pas obtenir la date du fichier \"" + prog.string() + "/Vidor\" !",
                  Buttons::Ok, Icon::Exclamation, "Brenlo - Avertissement");
    EXPECT_TRUE(process.started.empty());
}

class PublishingTest : public MiseAJourAutoTest {
  protected:
    void SetUp() override {
        MiseAJourAutoTest::SetUp();
        test::writeFile(prog / "Vidor.vbp", "project");
        store(majText());
    }
};

TEST_F(PublishingTest, OlderCopyIsReplacedWithABeep) {
    putCopy(std::chrono::seconds(-60));
    EXPECT_FALSE(run());
    EXPECT_EQ(windows.beeps, 1);
    EXPECT_EQ(test::readFile(maj / "Vidor"), "local build");
    EXPECT_TRUE(windows.messages.empty());
    EXPECT_TRUE(process.started.empty());
}

TEST_F(PublishingTest, MissingCopyIsCopiedWithoutABeep) {
    fs::permissions(prog / "Vidor", fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_FALSE(run());
    EXPECT_EQ(windows.beeps, 0);
    EXPECT_EQ(test::readFile(maj / "Vidor"), "local build");
    EXPECT_EQ(fs::status(maj / "Vidor").permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);
    EXPECT_TRUE(windows.messages.empty());
}

TEST_F(PublishingTest, CopyThatIsNotOlderIsKept) {
    for (auto offset : {std::chrono::seconds(0), std::chrono::seconds(60)}) {
        putCopy(offset);
        EXPECT_FALSE(run());
        EXPECT_EQ(test::readFile(maj / "Vidor"), "published");
    }
    EXPECT_EQ(windows.beeps, 0);
    EXPECT_TRUE(windows.messages.empty());
    EXPECT_TRUE(process.started.empty());
}

TEST_F(PublishingTest, CopyThatFailsIsReported) {
    // A folder stands where the copy should go: it is no file to delete, and no file can be
    // written in its place, whoever runs the test.
    fs::create_directories(maj / "Vidor" / "inside");
    EXPECT_FALSE(run());
    EXPECT_EQ(windows.beeps, 0);
    ASSERT_EQ(windows.messages.size(), 1u);
    expectMessage(windows.messages[0],
                  "Je ne parviens pas à copier la nouvelle version du programme \"Vidor\" dans le "
                  "répertoire réseau \"" +
                      majText() + "\" à partir de celle se trouvant dans le répertoire \"" +
                      prog.string() +
                      "/\" !\r\n\r\nCE PROGRAMME N'EXISTE DONC PLUS SUR LE RÉSEAU !",
                  Buttons::Ok, Icon::Exclamation, "Brenlo - Avertissement");
    EXPECT_TRUE(fs::is_directory(maj / "Vidor" / "inside"));
}

TEST_F(PublishingTest, DeletionThatFailsIsReportedWithItsReason) {
    // The update folder belongs to root and only its owner may write there; the procedure runs
    // in a child process as the user nobody (root would delete the copy anyway), so the
    // deletion fails for real.
    putCopy(std::chrono::seconds(-60));
    test::openUpTo(maj.string(), sandbox.dir().path().string());
    const std::string expected =
        "Je ne parviens pas à détruire l'ancienne version du programme \"Vidor\" dans le "
        "répertoire réseau \"" +
        majText() + "\" pour la mettre à jour !\r\n\r\n(" + std::strerror(EACCES) + ")";
    // The child's status says whether it was told just that, after one beep.
    const int status = test::asUnprivileged([&] {
        const bool ended = run();
        for (const auto& message : windows.messages) {
            if (message.text != expected) std::cerr << "shown: " << message.text << "\n";
        }
        const bool told = windows.messages.size() == 1 && windows.messages[0].text == expected &&
                          windows.messages[0].title == "Brenlo - Avertissement" &&
                          windows.messages[0].icon == Icon::Exclamation;
        return !ended && told && windows.beeps == 1 ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::readFile(maj / "Vidor"), "published");
}

}  // namespace
}  // namespace vidor::update
