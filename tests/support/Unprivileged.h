#pragma once

#include <functional>
#include <string>

namespace vidor::test {

// Runs `body` in a child process that has given up root's rights (it runs as nobody when the
// tests run as root), so that file permissions hold there as for any user. The files `body`
// uses must be reachable by that user. Returns the text `body` returned, or a text beginning
// with "child:" that says why the child failed.
std::string asUnprivileged(const std::function<std::string()>& body);

}  // namespace vidor::test
