#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace vidor::test {

// Runs `body` in a child process as the unprivileged user nobody (permissions apply there even
// when the tests run as root) and returns its exit status; -1 when the child could not be made.
// When the tests already run as an ordinary user, the child keeps that user.
int asUnprivileged(const std::function<int()>& body);

// Runs `body` in a child process with its own user and mount namespaces, where it may mount
// file systems; returns its exit status, or 77 when this machine does not allow it.
int inMountNamespace(const std::function<int()>& body);

// Makes `folder` and its parents up to `top` enterable by everyone, so that nobody can reach it.
void openUpTo(const std::string& folder, const std::string& top);

// True where the tests can run a body as another user (asUnprivileged).
bool otherUsers();

// Gives `folder` to nobody with the rights rwxrwxrwt; false where folders have no owner and no
// such rights.
bool giveAway(const std::string& folder);
// The owner's number and the octal rights of `folder`, as "65534 1777".
std::string ownerAndRights(const std::string& folder);

// How another program keeps a file in use: open for reading, open for writing, or mapped in
// memory with its descriptor closed.
enum class Use { Reading, Writing, Mapping };

// Keeps `file` in use as another program would (as nobody when `asNobody`), so that it cannot be
// removed while the result lives; null where a file in use can be removed all the same, or where
// the system cannot keep it so.
std::shared_ptr<void> keepInUse(const std::filesystem::path& file, Use use = Use::Reading,
                                bool asNobody = false);

// Uses up every descriptor this process may open until the result is dropped, so that the next
// file or folder opened fails for lack of them; null where the system cannot be made to.
std::shared_ptr<void> exhaustDescriptors();

}  // namespace vidor::test

// Skips the running test where nothing can run as another user.
#define VIDOR_NEEDS_ANOTHER_USER()  \
    if (!vidor::test::otherUsers()) \
    GTEST_SKIP() << "needs another user: permissions are tested on Linux only"
