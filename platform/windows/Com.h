#pragma once

#include <windows.h>
// after windows.h, which they need
#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

using Microsoft::WRL::ComPtr;

// COM on this thread while it lives (single-threaded apartment, as a window's thread has it).
class ComApartment {
  public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }

  private:
    HRESULT result_;
};

// A COM text made from UTF-8, freed when it goes.
class Bstr {
  public:
    explicit Bstr(const std::string& text) {
        const std::wstring wide = widen(text);
        text_ = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { ::SysFreeString(text_); }

    operator BSTR() const { return text_; }
    BSTR* out() { return &text_; }
    std::string utf8() const {
        return text_ ? narrow(std::wstring(text_, ::SysStringLen(text_))) : "";
    }

  private:
    BSTR text_ = nullptr;
};

// `what` and the system's words for `result`.
inline std::string comFailure(const std::string& what, HRESULT result) {
    return what + " (" + systemMessage(static_cast<unsigned long>(result)) + ")";
}

}  // namespace vidor::platform::windows
