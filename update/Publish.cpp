#include "update/Publish.h"

#include "korlib/Fichiers.h"
#include "update/Messages.h"

namespace vidor::update {

namespace {

void warn(platform::Services& sys, const std::string& text) {
    sys.windows.messageBox(text, platform::Buttons::Ok, platform::Icon::Exclamation, kWarningTitle);
}

// Deletes the copy in the update folder when it is older than the local program. False when
// the publishing stops here: the copy is up to date, vanished, or could not be deleted.
bool removeOlderCopy(platform::Services& sys, const ProgramFiles& files,
                     const std::string& updateFolder, std::int64_t localTime) {
    const std::string copy = files.copyIn(updateFolder);
    const auto info = sys.files.info(copy);
    if (!info || info->modified >= localTime) return false;
    sys.windows.beep();
    const platform::Removal removal = sys.files.deleteFile(copy);
    if (removal) return true;
    warn(sys, cannotDelete(files.baseName(), updateFolder, removal.reason));
    return false;
}

}  // namespace

void publish(platform::Services& sys, const ProgramFiles& files, const std::string& updateFolder,
             std::int64_t localTime) {
    if (korlib::FichierExiste(sys.files, files.copyIn(updateFolder)) &&
        !removeOlderCopy(sys, files, updateFolder, localTime)) {
        return;
    }
    std::string error;
    if (!sys.files.copyFile(files.program(), files.copyIn(updateFolder), error)) {
        // The older copy is gone and a copy cut short is never left: none is there now.
        warn(sys, cannotCopy(files.baseName(), updateFolder, files.withSeparator(files.folder()),
                             error));
    }
}

}  // namespace vidor::update
