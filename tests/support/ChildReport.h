#pragma once

#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace vidor::test {

// What a test's child process (asUnprivileged, inMountNamespace, a death test) failed at, in
// words, for the test to show once the child has ended: an exit status alone says no more than a
// number. Made before the child starts; any user may write to it.
class ChildReport {
  public:
    ChildReport();

    // In the child: notes what it was doing and why it failed; returns 1, for the child to end
    // with.
    int fail(const std::string& what) const;

    // In the test: what the child noted, one failure a line; empty when it noted nothing.
    std::string said() const;

  private:
    TempDir dir_;
    std::filesystem::path file_;
};

// `items` between quotes, separated by commas, for a failure's words.
std::string quotedList(const std::vector<std::string>& items);

}  // namespace vidor::test
