#include "update/MiseAJourAuto.h"

#include <optional>
#include <string>

#include "korlib/Fichiers.h"
#include "korlib/Texte.h"
#include "update/FolderPrompt.h"
#include "update/Handover.h"
#include "update/Messages.h"
#include "update/ProgramFiles.h"
#include "update/Publish.h"
#include "update/UpdateSetting.h"

namespace vidor::update {

namespace {

// The update folder with its separator, or "-" when the service is declined; nullopt when there
// is nothing to do this time (folder out of reach, kept while the updater is missing, prompt
// cancelled).
std::optional<std::string> chosenFolder(platform::Services& sys, const ProgramFiles& files) {
    const std::string stored = readUpdateFolder(sys);
    std::string folder = stored;
    if (!folder.empty() && folder != "-") {
        folder = files.withSeparator(folder);
        // A network share out of reach is expected now and then: no word about it.
        if (!korlib::RepertoireExiste(sys.files, folder)) return std::nullopt;
        if (!korlib::FichierExiste(sys.files, files.updater())) {
            const auto keep = sys.windows.messageBox(
                keepFolderQuestion(files.updaterName(), files.folder()), platform::Buttons::YesNo,
                platform::Icon::Question, kAttentionTitle);
            if (keep == platform::Answer::Yes) return std::nullopt;
            folder.clear();
        }
    }
    if (folder.empty()) return askUpdateFolder(sys, files, stored);
    return folder;
}

bool sameFolder(const std::string& a, const std::string& b) {
    return korlib::upperCase(a) == korlib::upperCase(b);
}

}  // namespace

void MiseAJourAuto(platform::Services& sys) {
    const ProgramFiles files(sys.process);
    const auto folder = chosenFolder(sys, files);
    if (!folder || *folder == "-") return;

    if (sameFolder(files.withSeparator(files.folder()), *folder)) {
        sys.windows.messageBox(fromUpdateFolder(), platform::Buttons::Ok,
                               platform::Icon::Exclamation, kAttentionTitle);
        sys.windows.endProgram(platform::kExitNormal);
    }
    const auto local = sys.files.info(files.program());
    if (!local) {
        sys.windows.messageBox(noDate(files.program()), platform::Buttons::Ok,
                               platform::Icon::Exclamation, kWarningTitle);
        return;
    }
    if (korlib::FichierExiste(sys.files, files.marker())) {
        publish(sys, files, *folder, local->modified);
    } else {
        handOver(sys, files, *folder, local->modified);
    }
}

}  // namespace vidor::update
