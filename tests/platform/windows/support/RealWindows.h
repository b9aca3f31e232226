#pragma once

#include <gtest/gtest.h>
#include <windows.h>

namespace vidor::test {

// True under Wine, which has no links or junctions of Windows' kind and deletes a link's
// target when asked to delete the link by handle.
inline bool underWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace vidor::test

// Skips a test of link safety that only real Windows can show.
#define VIDOR_ON_REAL_WINDOWS_ONLY()                                                        \
    if (vidor::test::underWine())                                                           \
    GTEST_SKIP() << "runs on real Windows only: Wine makes no Windows links or junctions, " \
                    "and deletes a link's target when the link is deleted by handle"
