#pragma once

#include <functional>
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

}  // namespace vidor::test
