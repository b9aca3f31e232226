#include "platform/windows/RegistrySettings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/platform/windows/support/PrivateRegistry.h"

namespace vidor::platform::windows {
namespace {

constexpr const char* kKey = "Software\\Brenlo\\Vidor";

void storeRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(
        ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Brenlo\\Vidor", name, type, data, bytes),
        ERROR_SUCCESS);
}

TEST(RegistrySettingsTest, TextsComeBackExactlyWhoeverStoredThemAndMissingOnesCreateNothing) {
    test::PrivateRegistry registry;
    RegistrySettings store;
    for (const std::string text :
         {"C:\tD:\t", "\"guillemets\"", "ligne 1\r\nligne 2", "", "日本語 €"}) {
        EXPECT_EQ(store.write(Hive::CurrentUser, kKey, "Valeur é", text), 0);
        const auto value = store.read(Hive::CurrentUser, kKey, "Valeur é");
        ASSERT_TRUE(value) << text;
        EXPECT_TRUE(value->isText);
        EXPECT_EQ(value->text, text);
    }

    // Other programs store texts with or without their final zero, and other types.
    storeRaw(L"sans", REG_SZ, L"sans zéro", 9 * sizeof(wchar_t));
    storeRaw(L"avec", REG_SZ, L"avec zéro", 10 * sizeof(wchar_t));
    const DWORD number = 7;
    storeRaw(L"nombre", REG_DWORD, &number, sizeof number);
    for (const std::string name : {"sans", "avec"}) {
        const auto value = store.read(Hive::CurrentUser, kKey, name);
        EXPECT_EQ(value ? value->text : "?", name + " zéro");
    }
    const auto other = store.read(Hive::CurrentUser, kKey, "nombre");
    ASSERT_TRUE(other);
    EXPECT_FALSE(other->isText);
    EXPECT_FALSE(store.read(Hive::CurrentUser, kKey, "absente"));
    EXPECT_FALSE(store.read(Hive::CurrentUser, "Software\\Brenlo\\Absent", "Nom"));
    HKEY absent = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Brenlo\\Absent", 0, KEY_READ, &absent),
              ERROR_FILE_NOT_FOUND);
}

TEST(RegistrySettingsTest, MachineValuesGoToTheUserWhenTheMachineRefuses) {
    test::PrivateRegistry registry;
    RegistrySettings store;
    const std::string key = "Software\\Brenlo\\Brenlo\\";
    // A machine hive where no key can be made, as for a standard user: a volatile key refuses
    // lasting sub-keys (Wine grants every right, so rights cannot show it).
    HKEY machine = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Volatile", 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &machine, nullptr),
              ERROR_SUCCESS);
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine);
    ::RegCloseKey(machine);
    ASSERT_EQ(store.write(Hive::LocalMachine, key, "RépertoireMiseAJour", "-"), 0);
    const auto user = store.read(Hive::CurrentUser, key, "RépertoireMiseAJour");
    const auto read = store.read(Hive::LocalMachine, key, "RépertoireMiseAJour");
    EXPECT_EQ(user ? user->text : "?", "-");
    EXPECT_EQ(read ? read->text : "?", "-");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Volatile");
}

}  // namespace
}  // namespace vidor::platform::windows
