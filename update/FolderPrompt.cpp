#include "update/FolderPrompt.h"

#include "korlib/Fichiers.h"
#include "korlib/Texte.h"
#include "update/Messages.h"
#include "update/UpdateSetting.h"

namespace vidor::update {

std::optional<std::string> askUpdateFolder(platform::Services& sys, const ProgramFiles& files,
                                           const std::string& stored) {
    const std::string prompt = folderPrompt(!korlib::trimSpaces(stored).empty());
    std::string defaultText = stored;
    for (;;) {
        std::string answer =
            korlib::trimSpaces(sys.windows.inputBox(prompt, kPromptTitle, defaultText));
        if (answer.empty()) return std::nullopt;
        if (answer != "-") {
            answer = files.withSeparator(answer);
            // The updater is looked for beside the program, whatever folder was typed: only "-"
            // or a cancel ends the questions while it is missing.
            if (!korlib::FichierExiste(sys.files, files.updater())) {
                sys.windows.messageBox(updaterMissing(files.updaterName(), files.folder()),
                                       platform::Buttons::Ok, platform::Icon::Exclamation,
                                       kStrongAttentionTitle);
                defaultText = answer;
                continue;
            }
        }
        storeUpdateFolder(sys, answer);
        return answer;
    }
}

}  // namespace vidor::update
