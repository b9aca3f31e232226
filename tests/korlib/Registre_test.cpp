#include "korlib/Registre.h"

#include <gtest/gtest.h>

#include "platform/linux/LinuxSettings.h"
#include "tests/support/Sandbox.h"

namespace vidor::korlib {
namespace {

namespace fs = std::filesystem;
using platform::Hive;

class RegistreTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox;
    platform::linux_::LinuxSettings store;
    Registre registre{store, "Vidor"};
    fs::path machineFile = sandbox.configHome() / "Brenlo" / "Brenlo.conf";
};

TEST_F(RegistreTest, WhatIsWrittenIsReadBackExactlyAndWhatIsMissingIsAbsent) {
    EXPECT_EQ(registre.RegistreLit("Extensions"), std::nullopt);
    EXPECT_EQ(registre.ParametreLit("Extensions"), "");
    for (const std::string text :
         {"C:\tE:\t", ",ACL,BAT,CAB,", "  leading and trailing  ", "quote \" and 'apostrophe'",
          "accents éèàçù ÉÈ", "semi;colon = equals [brackets] \\backslash\\ #hash", "",
          "line\r\nbreak", "@at the start",
          "control\x01"
          "bc\x7f"}) {
        registre.ParametreEcrit("Unités sélectionnées", text);
        EXPECT_EQ(registre.RegistreLit("Unités sélectionnées"), std::optional<std::string>(text));
    }
    // A key that exists without the value: still absent.
    EXPECT_EQ(registre.RegistreLit("Extensions sélectionnées"), std::nullopt);
}

TEST_F(RegistreTest, MachineValuesFallBackOnTheAdministratorsFile) {
    const fs::path provided = sandbox / "CONFIG_DIRS" / "Brenlo" / "Brenlo.conf";
    test::writeFile(provided, "[General]\nVidor=7\nAutre=x\nBinary=@ByteArray(abc)\n");
    // A key path with a final backslash names the same key.
    EXPECT_EQ(
        registre.RegistreEcritCle(Hive::LocalMachine, "Software\\Brenlo\\Brenlo\\", "Autre", "y"),
        0);

    // The user's own file wins; what it lacks comes from the administrator's.
    EXPECT_EQ(registre.RegistreLit("Autre", "Brenlo", Hive::LocalMachine), "y");
    EXPECT_EQ(registre.RegistreLit("Vidor", "Brenlo", Hive::LocalMachine), "7");
    EXPECT_EQ(registre.RegistreLit("Binary", "Brenlo", Hive::LocalMachine),
              "La valeur du registre recherchée n'est pas de type STRING !");
    // The user's values never do.
    EXPECT_EQ(registre.RegistreLit("Vidor", "Brenlo", Hive::CurrentUser), std::nullopt);
}

}  // namespace
}  // namespace vidor::korlib
