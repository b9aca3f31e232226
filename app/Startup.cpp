// Start-up: everything the main window does before it is first shown.

#include <charconv>

#include "app/F_Main.h"
#include "app/RunRequests.h"
#include "korlib/Fenetre.h"
#include "selection/DriveList.h"
#include "selection/ExtensionList.h"
#include "update/MiseAJourAuto.h"

namespace vidor::app {

namespace {

// The run counter as stored: a 16-bit whole number below 32767 (the next one must fit too),
// else nothing (count afresh).
std::optional<int> storedCount(const std::optional<std::string>& text) {
    if (!text) return 0;
    int count = 0;
    const char* end = text->data() + text->size();
    auto [stop, error] = std::from_chars(text->data(), end, count);
    if (text->empty() || error != std::errc() || stop != end || count < -32768 || count > 32766) {
        return std::nullopt;
    }
    return count;
}

constexpr const char* kAnotherCopyRuns =
    "Vidor : une autre copie du programme fonctionne déjà pour cet utilisateur ; ce traitement "
    "n'a rien recensé ni supprimé.";

}  // namespace

void F_Main::Form_Load() {
    const std::string commandLine = sys_.process.commandLine();
    if (restoreAsked(commandLine)) restoreLastRun();
    const std::optional<std::string> preview = previewLine(commandLine);
    if (preview) {
        // A preview changes nothing: it takes no place from a running copy, updates nothing
        // and is no run to count; it shows no window and no box.
        quiet_.silence();
    } else {
        if (sys_.process.previousInstance()) endAsSecondCopy();
        update::MiseAJourAuto(sys_);
        countRun();
    }
    korlib::FenetreCentre(sys_.windows, *this);
    // In place of the design caption, before anything can show the window.
    setCaption(korlib::TitreVersion(sys_.process) + " Suppression des fichiers temporaires");
    pSaisie.move(0, 0);
    pExec.move(0, 0);
    selection::fillDrives(lUnites, sys_.drives);
    restoreChoices();
    if (preview) {
        runPreview(*preview);
    } else if (commandLine.empty()) {
        startManual();
    } else {
        runCommandLine(commandLine);
    }
}

void F_Main::endAsSecondCopy() {
    // A start by hand leaves the open window to the user; a run with parameters did no work, and
    // whoever scheduled it must learn so.
    if (sys_.process.commandLine().empty()) sys_.windows.endProgram(platform::kExitNormal);
    sys_.process.writeError(kAnotherCopyRuns);
    sys_.windows.endProgram(platform::kExitAnotherCopy);
}

void F_Main::countRun() {
    const std::string name = sys_.process.exeName();
    const auto stored = registre_.RegistreLit(name, "Brenlo", platform::Hive::LocalMachine);
    const int count = storedCount(stored).value_or(0) + 1;
    registre_.RegistreEcritCle(platform::Hive::LocalMachine, "Software\\Brenlo\\Brenlo\\", name,
                               std::to_string(count));
}

void F_Main::restoreChoices() {
    savedDrives_ =
        selection::restoreDrives(lUnites, registre_.ParametreLit("Unités sélectionnées"));
    const std::string forbidden = selection::forbiddenList(registre_);
    selection::fillExtensions(lExt, registre_, forbidden);
    selection::restoreSelectedExtensions(lExt, registre_);
}

void F_Main::startManual() {
    // A manual start always begins with exactly the local hard disks selected.
    bLocal.press();
    bAuto.setCaption("Auto");
}

}  // namespace vidor::app
