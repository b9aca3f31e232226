#include "update/Handover.h"

#include "korlib/Fichiers.h"
#include "update/Messages.h"

namespace vidor::update {

void handOver(platform::Services& sys, const ProgramFiles& files, const std::string& updateFolder,
              std::int64_t localTime) {
    const std::string copy = files.copyIn(updateFolder);
    if (!korlib::FichierExiste(sys.files, copy)) return;
    // The copy may vanish between the two looks; there is then nothing to update from.
    const auto info = sys.files.info(copy);
    if (!info || info->modified <= localTime) return;

    std::string error;
    if (sys.process.startProgram(files.updater(), {copy, files.program()}, error)) {
        // Ending at once is what lets the updater replace the program file.
        sys.windows.endProgram(platform::kExitNormal);
    }
    const auto answer =
        sys.windows.messageBox(cannotStartUpdater(files.baseName(), files.updaterName()),
                               platform::Buttons::YesNo, platform::Icon::Question, kTitreAttention);
    if (answer == platform::Answer::No) sys.windows.endProgram(platform::kExitNormal);
}

}  // namespace vidor::update
