#pragma once

#include <string>

namespace vidor::test {

// Sends the program's HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE to two keys of this test's own,
// removed at the end, so that tests neither see nor leave each other's settings.
class PrivateRegistry {
  public:
    PrivateRegistry();
    PrivateRegistry(const PrivateRegistry&) = delete;
    PrivateRegistry& operator=(const PrivateRegistry&) = delete;
    ~PrivateRegistry();

  private:
    std::wstring key_;
};

}  // namespace vidor::test
