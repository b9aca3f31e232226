#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

namespace vidor::test {

// `program` (a copy of /bin/sleep) running for a minute, until stop() or the end of the test.
struct Running {
    explicit Running(const std::filesystem::path& program) {
        std::string path = program.string();
        char seconds[] = "60";
        char* argv[] = {path.data(), seconds, nullptr};
        EXPECT_EQ(::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ), 0);
    }
    ~Running() { stop(); }
    void stop() {
        if (pid > 0 && ::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
        pid = -1;
    }
    pid_t pid = -1;
};

}  // namespace vidor::test
