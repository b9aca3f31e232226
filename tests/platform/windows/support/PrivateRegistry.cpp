#include "tests/platform/windows/support/PrivateRegistry.h"

#include <windows.h>

#include <stdexcept>

namespace vidor::test {

namespace {

HKEY created(const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create a private registry key");
    return key;
}

// A process id is unique among the running processes, and the counter among its keys.
std::wstring uniqueName() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(now.QuadPart);
}

}  // namespace

PrivateRegistry::PrivateRegistry() : key_(L"Software\\VidorTests\\" + uniqueName()) {
    HKEY user = created(key_ + L"\\User");
    HKEY machine = created(key_ + L"\\Machine");
    ::RegOverridePredefKey(HKEY_CURRENT_USER, user);
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine);
    ::RegCloseKey(user);
    ::RegCloseKey(machine);
}

PrivateRegistry::~PrivateRegistry() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
}

}  // namespace vidor::test
