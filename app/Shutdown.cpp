// Closing the main window: the choices of a manual run are kept for the next start.

#include "app/F_Main.h"
#include "selection/SelectionMark.h"

namespace vidor::app {

void F_Main::Form_Unload() {
    // An unattended run never changes the choices of the last manual run.
    if (sys_.process.commandLine().empty()) {
        registre_.ParametreEcrit("Unités sélectionnées", selection::savedText(lUnites, true));
        registre_.ParametreEcrit("Extensions", selection::savedText(lExt, false));
        registre_.ParametreEcrit("Extensions sélectionnées", selection::savedText(lExt, true));
    }
    sys_.windows.endProgram(platform::kExitNormal);
}

}  // namespace vidor::app
