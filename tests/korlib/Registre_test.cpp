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

TEST_F(RegistreTest, WhatIsWrittenIsReadBackExactly) {
    for (const std::string text :
         {"C:\tE:\t", ",ACL,BAT,CAB,", "  leading and trailing  ", "quote \" and 'apostrophe'",
          "accents éèàçù ÉÈ", "semi;colon = equals [brackets] \\backslash\\ #hash", "",
          "line\r\nbreak", "@at the start",
          "control\x01"
          "bc\x7f"}) {
        registre.ParametreEcrit("Unités sélectionnées", text);
        EXPECT_EQ(registre.RegistreLit("Unités sélectionnées"), std::optional<std::string>(text));
    }
    EXPECT_TRUE(fs::is_regular_file(sandbox.configHome() / "Brenlo" / "Vidor.conf"));
}

TEST_F(RegistreTest, MissingValueIsAbsentAndLeavesNoKeyBehind) {
    EXPECT_EQ(registre.RegistreLit("Extensions"), std::nullopt);
    EXPECT_EQ(registre.ParametreLit("Extensions"), "");
    EXPECT_EQ(registre.RegistreLit("RépertoireMiseAJour", "Brenlo", Hive::LocalMachine),
              std::nullopt);
    EXPECT_FALSE(fs::exists(sandbox.configHome() / "Brenlo"));

    // A key that exists without the value: still absent.
    registre.ParametreEcrit("Extensions", "tmp\t");
    EXPECT_EQ(registre.RegistreLit("Extensions sélectionnées"), std::nullopt);
    EXPECT_EQ(registre.ParametreLit("Extensions"), "tmp\t");
}

TEST_F(RegistreTest, ValueOfAnotherTypeReadsAsTheFixedText) {
    test::writeFile(machineFile, "[General]\nVidor=@Invalid()\nBinary=@ByteArray(abc)\n");
    for (const char* name : {"Vidor", "Binary"}) {
        EXPECT_EQ(registre.RegistreLit(name, "Brenlo", Hive::LocalMachine),
                  std::optional<std::string>(
                      "La valeur du registre recherchée n'est pas de type STRING !"));
    }
}

TEST_F(RegistreTest, MachineValuesFallBackOnTheAdministratorsFile) {
    const fs::path provided = sandbox / "CONFIG_DIRS" / "Brenlo" / "Brenlo.conf";
    // A key path with a final backslash names the same key.
    EXPECT_EQ(
        registre.RegistreEcritCle(Hive::LocalMachine, "Software\\Brenlo\\Brenlo\\", "Vidor", "7"),
        0);
    registre.RegistreEcrit("Autre", "x", "Brenlo", Hive::LocalMachine);
    fs::create_directories(provided.parent_path());
    fs::rename(machineFile, provided);
    registre.RegistreEcrit("Autre", "y", "Brenlo", Hive::LocalMachine);

    // The user's own file wins; what it lacks comes from the administrator's.
    EXPECT_EQ(registre.RegistreLit("Autre", "Brenlo", Hive::LocalMachine), "y");
    EXPECT_EQ(registre.RegistreLit("Vidor", "Brenlo", Hive::LocalMachine), "7");
    // The user's values never do.
    EXPECT_EQ(registre.RegistreLit("Vidor", "Brenlo", Hive::CurrentUser), std::nullopt);
}

TEST_F(RegistreTest, AWriteThatCannotBeDoneReportsAFailure) {
    // A file where the settings folder should be.
    test::writeFile(sandbox.configHome() / "Brenlo");
    EXPECT_NE(registre.RegistreEcrit("Extensions", "tmp\t"), 0);
    EXPECT_EQ(registre.RegistreLit("Extensions"), std::nullopt);
}

}  // namespace
}  // namespace vidor::korlib
