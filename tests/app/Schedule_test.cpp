// "/PLANIFIER" as a user types it: the built program, run by the unprivileged user nobody (and by
// root), with a crontab spool and a system unit folder of the test's own (a mount namespace) and
// a systemctl that stands for the user's manager.

#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tests/support/Sandbox.h"
#include "tests/support/Session.h"
#include "tests/support/Shell.h"
#include "tests/support/Unprivileged.h"

namespace vidor::app {
namespace {

namespace fs = std::filesystem;
using test::quoted;

class ScheduleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root for a crontab spool of its own";
        ASSERT_EQ(::unshare(CLONE_NEWNS), 0);
        ASSERT_EQ(::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
        // The spool as cron makes it: root's, group crontab, which the crontab command has.
        fs::create_directories(spool);
        const group* crontab = ::getgrnam("crontab");
        ASSERT_NE(crontab, nullptr) << "cron is not installed";
        ASSERT_EQ(::chown(spool.c_str(), 0, crontab->gr_gid), 0);
        fs::permissions(spool, static_cast<fs::perms>(01730), fs::perm_options::replace);
        ASSERT_EQ(::mount(spool.c_str(), "/var/spool/cron/crontabs", nullptr, MS_BIND, nullptr), 0)
            << std::strerror(errno);
        fs::create_directories(systemUnits);
        ASSERT_EQ(::mount(systemUnits.c_str(), "/etc/systemd/system", nullptr, MS_BIND, nullptr),
                  0);

        fs::create_directories(program.parent_path());
        fs::copy_file(VIDOR_PROGRAM, program);
        test::writeFile(out / "bin" / "systemctl", "#!/bin/sh\necho \"$*\" >> " + quoted(log) +
                                                       "\ntest -e " +
                                                       quoted(out / "systemd-answers") + "\n");
        fs::permissions(out / "bin" / "systemctl", fs::perms::all);
        sandbox.setEnv("PATH", (out / "bin").string() + ":/usr/bin:/bin");
        test::openUpTo(out.string(), sandbox.dir().path().string());
        fs::permissions(out, fs::perms::all);
        sandbox.shareWithEveryone();
    }

    void TearDown() override {
        // The namespace stays the test program's: the next test mounts its own folders.
        ::umount2("/var/spool/cron/crontabs", MNT_DETACH);
        ::umount2("/etc/systemd/system", MNT_DETACH);
    }

    // Runs `command` through the shell as nobody, its standard error in `errorFile`.
    int asNobody(const std::string& command, const fs::path& errorFile) {
        return test::asUnprivileged([&] { return test::runShell(command, errorFile); });
    }
    // Runs the program as nobody (or root) with `arguments`; what it printed is in said(), its
    // standard error in errors().
    int vidor(const std::string& arguments, bool asRoot = false) {
        const std::string command = quoted(program) + " " + arguments + " >" + quoted(out / "said");
        return asRoot ? test::runShell(command, out / "errors") : asNobody(command, out / "errors");
    }
    std::string said() const { return test::readFile(out / "said"); }
    std::string errors() const { return test::readFile(out / "errors"); }
    // Nobody's crontab as the crontab command lists it.
    std::string crontab() {
        asNobody("crontab -l >" + quoted(out / "table"), out / "none");
        return test::readFile(out / "table");
    }

    test::Sandbox sandbox{"C=3:c"};
    const fs::path out = sandbox / "out", spool = sandbox / "spool";
    const fs::path systemUnits = sandbox / "system-units", log = out / "systemctl.log";
    // A folder name that the shell, cron and systemd each read in their own way.
    fs::path program = out / "Vidor 100% $HOME" / "Vidor";
};

TEST_F(ScheduleTest, WithoutSystemdOneCrontabLineUnderItsCommentAndTheOtherLinesKept) {
    // The shell's quote too, which systemd would refuse.
    const fs::path folder = program.parent_path();
    program = out / "Vi'dor 100%" / "Vidor";
    fs::rename(folder, program.parent_path());
    const std::string others = "MAILTO=\"\"\n0 1 * * * echo autre  # à garder\n";
    test::writeFile(out / "others", others);
    ASSERT_EQ(asNobody("crontab " + quoted(out / "others"), out / "none"), 0);

    // Nothing was ever stored for /AUTO to take again: nothing is scheduled.
    EXPECT_EQ(vidor("/PLANIFIER:QUOTIDIEN"), 1);
    EXPECT_NE(errors().find("aucun choix enregistré"), std::string::npos) << errors();
    EXPECT_EQ(crontab(), others);

    // The choices the night's run takes again, and a file for it to remove.
    test::storeUserSetting("Extensions", "tmp\t");
    test::storeMachineSetting("RépertoireMiseAJour", "-");
    test::writeFile(sandbox.drive('C') / "nuit.tmp", "x");
    fs::permissions(sandbox.drive('C'), fs::perms::all);
    sandbox.shareWithEveryone();
    EXPECT_EQ(vidor("/planifier:quotidien"), 0) << errors();
    const std::string marker =
        "# Vidor /PLANIFIER : nettoyage automatique (à changer avec cette commande)\n";
    const std::string command = "'" + out.string() + "/Vi'\\''dor 100\\%/Vidor' /AUTO";
    EXPECT_EQ(crontab(), others + marker + "15 3 * * * " + command + "\n");
    EXPECT_EQ(said(), "Nettoyage planifié chaque nuit à 3 h 15 (crontab) : " + command + "\n");
    // The line runs the night's work as cron runs it: "\%" read as "%", then the shell.
    std::string run = command;
    run.replace(run.find("\\%"), 2, "%");
    EXPECT_EQ(asNobody(run, out / "errors"), 0) << errors();
    EXPECT_FALSE(fs::exists(sandbox.drive('C') / "nuit.tmp")) << errors();

    // Weekly instead: still one entry.
    EXPECT_EQ(vidor("/PLANIFIER:Hebdomadaire"), 0) << errors();
    EXPECT_EQ(crontab(), others + marker + "15 3 * * 1 " + command + "\n");
    EXPECT_EQ(vidor("/PLANIFIER"), 0);
    EXPECT_EQ(said(), "Nettoyage planifié chaque lundi à 3 h 15 (crontab) : " + command + "\n");

    EXPECT_EQ(vidor("/PLANIFIER:NON"), 0) << errors();
    EXPECT_EQ(said(), "Nettoyage planifié supprimé (crontab).\n");
    EXPECT_EQ(crontab(), others);
    EXPECT_EQ(vidor("/PLANIFIER"), 0);
    EXPECT_EQ(said(), "Aucun nettoyage n'est planifié.\n");

    EXPECT_EQ(vidor("/PLANIFIER:JAMAIS"), 2);
    EXPECT_NE(errors().find("Je ne comprend pas le paramètre \"/PLANIFIER:JAMAIS\" !"),
              std::string::npos);
    EXPECT_EQ(crontab(), others);
}

TEST_F(ScheduleTest, WhereSystemdAnswersATimerThatSystemdAccepts) {
    test::writeFile(out / "systemd-answers");
    test::storeUserSetting("Extensions", "tmp\t");
    sandbox.shareWithEveryone();
    EXPECT_EQ(vidor("/PLANIFIER:QUOTIDIEN"), 0) << errors();
    // Nobody's manager stops at the end of nobody's sessions.
    EXPECT_NE(said().find("(minuteur systemd vidor.timer)"), std::string::npos) << said();
    EXPECT_NE(said().find("loginctl enable-linger nobody"), std::string::npos) << said();
    EXPECT_EQ(said().find('\n'), said().size() - 1) << said();  // one line
    const fs::path units = sandbox.configHome() / "systemd" / "user";
    EXPECT_EQ(test::runShell("systemd-analyze verify " + quoted(units / "vidor.timer") + " " +
                                 quoted(units / "vidor.service"),
                             out / "verify"),
              0);
    EXPECT_EQ(test::readFile(out / "verify"), "");
    EXPECT_NE(test::readFile(units / "vidor.timer").find("Persistent=true"), std::string::npos);
    EXPECT_NE(test::readFile(log).find("--user enable vidor.timer"), std::string::npos);
    EXPECT_EQ(crontab(), "");

    EXPECT_EQ(vidor("/PLANIFIER"), 0);
    EXPECT_NE(said().find("chaque nuit à 3 h 15 (minuteur systemd vidor.timer) : \""),
              std::string::npos)
        << said();
    EXPECT_EQ(vidor("/PLANIFIER:NON"), 0) << errors();
    EXPECT_FALSE(fs::exists(units / "vidor.timer"));
    EXPECT_NE(test::readFile(log).find("--user disable --now vidor.timer"), std::string::npos);

    // Root's run is the machine's: in the system's folder, through the system's manager.
    fs::remove(log);
    EXPECT_EQ(vidor("/PLANIFIER:HEBDOMADAIRE", true), 0) << errors();
    EXPECT_EQ(said().find("loginctl"), std::string::npos) << said();
    EXPECT_NE(test::readFile(systemUnits / "vidor.timer").find("OnCalendar=Mon *-*-* 03:15:00"),
              std::string::npos);
    EXPECT_NE(test::readFile(log).find("\nenable vidor.timer"), std::string::npos);
    EXPECT_EQ(test::readFile(log).find("--user"), std::string::npos);
}

}  // namespace
}  // namespace vidor::app
