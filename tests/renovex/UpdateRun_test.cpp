// The whole update as a user meets it: the built program starts, finds a newer copy in its
// update folder, hands over to the built updater and ends; the updater replaces it and starts
// the new version. And the updater alone, on copies and folders it must refuse.

#include <elf.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "tests/support/Running.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Shell.h"
#include "tests/support/Unprivileged.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using fs::perms;
using test::quoted;

// `path` between double quotes, as the updater's messages name files.
std::string named(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

// Waits up to 30 seconds for `ready`.
bool within30s(const std::function<bool()>& ready) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// The processes that run the file `program`.
std::vector<pid_t> runningCopies(const fs::path& program) {
    std::vector<pid_t> pids;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::error_code code;
        if (fs::equivalent(entry.path() / "exe", program, code)) {
            pids.push_back(std::stoi(entry.path().filename().string()));
        }
    }
    return pids;
}

class UpdateRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(maj);
        // Where the programs run by a test, with or without root's rights, write what they say.
        fs::create_directories(out);
        fs::permissions(out, perms::all);
        fs::create_directories(prog);
        // Writable by its owner only, whatever the umask: the updater refuses any other.
        fs::permissions(prog, kOwnerWrites);
        fs::copy_file(VIDOR_PROGRAM, prog / "Vidor");
        fs::copy_file(RENOVEX_PROGRAM, prog / "Renovex");
        fs::last_write_time(prog / "Vidor", fs::file_time_type::clock::now() - 1h);
        test::writeFile(conf, "[General]\nRépertoireMiseAJour=" + maj.string() + "/\n");
        // No screen at all, as in a scheduled run.
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            sandbox.setEnv(variable, std::nullopt);
        }
    }

    // Puts `program` in the update folder as the new version, dated `age` from now.
    void publish(const fs::path& program, fs::file_time_type::duration age) {
        fs::copy_file(program, maj / "Vidor", fs::copy_options::overwrite_existing);
        fs::last_write_time(maj / "Vidor", fs::file_time_type::clock::now() + age);
    }

    // Runs `command` through the shell, killed after a minute; returns its exit status. What
    // it writes on standard error is kept for errors().
    int run(const std::string& command) { return test::runShell(command, out / "errors.txt"); }
    std::string errors() const { return test::readFile(out / "errors.txt"); }
    int vidor(const std::string& parameters) { return run(quoted(prog / "Vidor") + parameters); }
    // The updater started by hand on the copy in the update folder and `program`.
    std::string renovex(const fs::path& program) const {
        return quoted(prog / "Renovex") + " " + quoted(maj / "Vidor") + " " + quoted(program);
    }

    // The program's folder holds the program and its updater, and no temporary file.
    void expectOnlyTheProgram(const fs::path& folder) const {
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2);
    }

    static constexpr perms kOwnerWrites = perms::owner_all | perms::group_read | perms::group_exec |
                                          perms::others_read | perms::others_exec;
    test::Sandbox sandbox{"C=3:c"};
    const fs::path prog = sandbox / "prog", maj = sandbox / "maj", out = sandbox / "out";
    const fs::path conf = sandbox.configHome() / "Brenlo" / "Brenlo.conf";
};

TEST_F(UpdateRunTest, UnattendedRunMeetsAnUpdateDatedInTheFutureAndStillCleans) {
    // A server clock ahead: the copy is dated tomorrow. The new version must run the night's
    // work with the same parameters, without a screen, and end: not start the update again.
    publish(VIDOR_PROGRAM, 24h);
    test::writeFile(sandbox.drive('C') / "nuit.tmp", "x");
    // The copy on the share is 0777 with its set-user-id and set-group-id bits: the new program
    // takes the old one's rights, never writable by group or others, never set-id.
    fs::permissions(maj / "Vidor", perms::all | perms::set_uid | perms::set_gid);
    fs::permissions(prog / "Vidor", perms::owner_all | perms::group_all | perms::others_exec);

    EXPECT_EQ(vidor(" /U:c /E:tmp"), 0) << errors();
    ASSERT_TRUE(within30s([&] { return fs::exists(sandbox.trashFiles() / "nuit.tmp"); }))
        << errors();
    EXPECT_TRUE(within30s([&] { return runningCopies(prog / "Vidor").empty(); })) << errors();
    EXPECT_EQ(fs::last_write_time(prog / "Vidor"), fs::last_write_time(maj / "Vidor"));
    EXPECT_EQ(test::readFile(prog / "Vidor"), test::readFile(VIDOR_PROGRAM));
    EXPECT_EQ(fs::status(prog / "Vidor").permissions(),
              perms::owner_all | perms::group_read | perms::group_exec | perms::others_exec);
    expectOnlyTheProgram(prog);
}

TEST_F(UpdateRunTest, ACopyTheUpdaterRefusesStillLeavesTheNightsWorkDone) {
    // A copy cut short on the share: the updater refuses it, and the version in place runs the
    // night's work once, without handing over again; the status the scheduler sees is that
    // run's, given only once the work is done.
    const std::string old = test::readFile(prog / "Vidor");
    test::writeFile(maj / "Vidor", old.substr(0, 256 * 1024));
    test::writeFile(sandbox.drive('C') / "nuit.tmp", "x");

    EXPECT_EQ(vidor(" /U:c /E:tmp"), 0) << errors();
    EXPECT_TRUE(fs::exists(sandbox.trashFiles() / "nuit.tmp")) << errors();
    const std::string refused = "n'est pas un programme complet pour cet ordinateur";
    const std::size_t first = errors().find(refused);
    EXPECT_NE(first, std::string::npos) << errors();
    EXPECT_EQ(errors().find(refused, first + 1), std::string::npos) << errors();
    EXPECT_EQ(test::readFile(prog / "Vidor"), old);
    expectOnlyTheProgram(prog);
}

TEST_F(UpdateRunTest, CopiesAndFoldersThatCannotBeTrustedLeaveTheOldProgram) {
    // Each case prepares the machine and names the program to replace; the updater must
    // refuse, say why, and leave everything as it was. (A copy cut short: the test above.)
    const std::string vidor = test::readFile(VIDOR_PROGRAM);
    const std::pair<std::function<fs::path()>, std::string> cases[] = {
        {[&] {  // a program built for another processor
             std::string other = vidor;
             other[18] = other[18] == EM_X86_64 ? EM_AARCH64 : EM_X86_64;  // e_machine, low byte
             other[19] = 0;
             test::writeFile(maj / "Vidor", other);
             return prog / "Vidor";
         },
         "la nouvelle version " + named(maj / "Vidor") +
             " n'est pas un programme complet pour cet ordinateur"},
        {[&] {
             publish(VIDOR_PROGRAM, -10min);
             fs::permissions(prog, perms::all);
             return prog / "Vidor";
         },
         "d'autres utilisateurs peuvent écrire dans le répertoire " + named(prog)},
        {[&] {
             fs::permissions(prog, kOwnerWrites);
             fs::create_directory_symlink(prog, sandbox / "lien");
             return sandbox / "lien" / "Vidor";
         },
         "le répertoire " + named(sandbox / "lien") + " est un lien"},
        {[&] {
             fs::create_symlink(prog / "Vidor", out / "Vidor");
             fs::permissions(out, perms::owner_all);
             return out / "Vidor";
         },
         "le programme " + named(out / "Vidor") + " est un lien"},
    };
    for (const auto& [prepare, why] : cases) {
        const fs::path program = prepare();
        EXPECT_EQ(run(renovex(program)), 1) << why;
        const std::string told = "La mise à jour du programme " + named(program) + " a échoué : ";
        EXPECT_NE(errors().find(told + why), std::string::npos) << errors();
        EXPECT_TRUE(test::readFile(prog / "Vidor") == vidor) << "replaced: " << why;
        expectOnlyTheProgram(prog);
    }
}

TEST_F(UpdateRunTest, ProgramFolderSwappedForALinkMeanwhileIsNotFollowed) {
    // The program still runs when the updater starts (a copy of sleep stands for it); while
    // the updater waits, its folder is swapped for a link to another one.
    fs::remove(prog / "Vidor");
    fs::copy_file("/bin/sleep", prog / "Vidor");
    publish(VIDOR_PROGRAM, -10min);
    const fs::path real = sandbox / "prog.real", elsewhere = sandbox / "ailleurs";
    test::writeFile(elsewhere / "Vidor", "autre programme");
    test::Running sleeper(prog / "Vidor");
    auto updater = std::async(std::launch::async, [&] { return run(renovex(prog / "Vidor")); });
    // The updater holds the program's folder open, and waits.
    const fs::path folder = fs::canonical(prog);
    const bool holding = within30s([&] {
        for (const pid_t pid : runningCopies(prog / "Renovex")) {
            for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
                std::error_code code;
                if (fs::read_symlink(fd.path(), code) == folder) return true;
            }
        }
        return false;
    });
    fs::rename(prog, real);
    fs::create_directory_symlink(elsewhere, prog);
    sleeper.stop();
    updater.wait();
    ASSERT_TRUE(holding);

    EXPECT_EQ(test::readFile(real / "Vidor"), test::readFile(VIDOR_PROGRAM)) << errors();
    expectOnlyTheProgram(real);
    EXPECT_EQ(test::readFile(elsewhere / "Vidor"), "autre programme");
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), {}), 1);
}

TEST_F(UpdateRunTest, AProgramTheUpdaterCouldNotReplaceGoesOnWithTheOldVersion) {
    // A system-wide installation run by the user nobody (root's run will update it), then a
    // folder others may write (the updater would refuse it, and every start would end in that
    // refusal): no hand-over, the run does its work with the old version.
    publish(VIDOR_PROGRAM, -10min);
    test::openUpTo(prog.string(), sandbox.dir().path().string());
    test::openUpTo(maj.string(), sandbox.dir().path().string());
    sandbox.shareWithEveryone();
    const fs::path c = sandbox.drive('C');
    test::openUpTo(c.string(), sandbox.dir().path().string());
    fs::permissions(c, perms::all);
    const std::string old = test::readFile(prog / "Vidor");
    for (const bool asNobody : {true, false}) {
        test::writeFile(c / "jour.tmp", "x");
        fs::permissions(c / "jour.tmp", perms::all);
        if (!asNobody) fs::permissions(prog, perms::all);
        const auto runOnce = [&] { return vidor(" /U:c /E:tmp"); };
        EXPECT_EQ(asNobody ? test::asUnprivileged(runOnce) : runOnce(), 0) << errors();
        EXPECT_FALSE(fs::exists(c / "jour.tmp")) << errors();
        EXPECT_EQ(errors().find("Renovex"), std::string::npos) << errors();
        EXPECT_EQ(test::readFile(prog / "Vidor"), old);
        fs::remove_all(sandbox.dataHome() / "Trash");  // nobody's, which root would refuse
    }
}

TEST_F(UpdateRunTest, PublishingThatFailsMidwayLeavesNoCopyCutShort) {
    // The build machine publishes its build to a share too small for it: a limit on the size of
    // the files it writes stands for the full share. The older copy is gone first; no part of
    // the new one may take its place.
    test::writeFile(prog / "Vidor.vbp", "projet");
    test::writeFile(maj / "Vidor", "ancienne version");
    fs::last_write_time(maj / "Vidor", fs::file_time_type::clock::now() - 2h);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead of killing
        const rlimit limit{256 * 1024, 256 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(vidor(" /U:c /E:tmp"));
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << errors();
    EXPECT_TRUE(fs::is_empty(maj)) << errors();
}

}  // namespace
}  // namespace vidor::renovex
