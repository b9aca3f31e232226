#include "platform/windows/RegistrySettings.h"

#include <windows.h>

#include <vector>

#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

namespace {

std::wstring keyName(const std::string& keyPath) {
    std::wstring key = widen(keyPath);
    while (!key.empty() && key.back() == L'\\') key.pop_back();
    return key;
}

// The value `name` of `key` under `root`; nullopt when the key or the value is missing.
std::optional<StoredValue> readValue(HKEY root, REGSAM view, const std::wstring& key,
                                     const std::wstring& name) {
    HKEY opened = nullptr;
    // Query rights only: a standard user may read the machine hive, never open it for all.
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<StoredValue> value;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(opened, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        if (type != REG_SZ) {
            value = StoredValue{false, {}};
        } else {
            // RegGetValueW ends the text with a zero whether or not one was stored, so no
            // character is lost or added either way.
            std::vector<wchar_t> text(size / sizeof(wchar_t) + 2, L'\0');
            DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            if (::RegGetValueW(opened, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(),
                               &bytes) == ERROR_SUCCESS) {
                std::size_t length = bytes / sizeof(wchar_t);
                if (length > 0 && text[length - 1] == L'\0') --length;
                value = StoredValue{true, narrow(std::wstring_view(text.data(), length))};
            }
        }
    }
    ::RegCloseKey(opened);
    return value;
}

LONG writeValue(HKEY root, REGSAM view, const std::wstring& key, const std::wstring& name,
                const std::wstring& text) {
    HKEY opened = nullptr;
    LONG status = ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE | view, nullptr, &opened, nullptr);
    if (status != ERROR_SUCCESS) return status;
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    status = ::RegSetValueExW(opened, name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    ::RegCloseKey(opened);
    return status;
}

}  // namespace

std::optional<StoredValue> RegistrySettings::read(Hive hive, const std::string& keyPath,
                                                  const std::string& name) {
    const std::wstring key = keyName(keyPath);
    const std::wstring value = widen(name);
    auto found = readValue(HKEY_CURRENT_USER, 0, key, value);
    if (hive == Hive::CurrentUser || found) return found;
    return readValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, key, value);
}

std::int32_t RegistrySettings::write(Hive hive, const std::string& keyPath, const std::string& name,
                                     const std::string& text) {
    const std::wstring key = keyName(keyPath);
    const std::wstring value = widen(name);
    const std::wstring wide = widen(text);
    if (hive == Hive::LocalMachine) {
        if (writeValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, key, value, wide) == ERROR_SUCCESS) {
            // An older copy kept for the user would hide the machine's value from now on.
            HKEY opened = nullptr;
            if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &opened) ==
                ERROR_SUCCESS) {
                ::RegDeleteValueW(opened, value.c_str());
                ::RegCloseKey(opened);
            }
            return 0;
        }
    }
    return writeValue(HKEY_CURRENT_USER, 0, key, value, wide);
}

}  // namespace vidor::platform::windows
