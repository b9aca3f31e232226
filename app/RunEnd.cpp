// Around each run: the recycle bin and the journal kept up before the census, the user and the
// system told once the run is over.

#include <charconv>

#include "app/F_Main.h"
#include "census/Restoration.h"
#include "census/RunSummary.h"
#include "census/TrashUpkeep.h"
#include "korlib/Texte.h"

namespace vidor::app {

namespace {

// The setting "Jours en corbeille": a whole number of days, 0 for never; its default otherwise.
int trashDays(const std::string& text) {
    const std::string days = korlib::trimSpaces(text);
    int value = 0;
    const char* end = days.data() + days.size();
    const auto [stop, error] = std::from_chars(days.data(), end, value);
    if (days.empty() || error != std::errc() || stop != end || value < 0) {
        return census::kDefaultTrashDays;
    }
    return value;
}

}  // namespace

void F_Main::keepUpTrash() {
    census::keepUp(journal_, sys_.trashed, trashDays(registre_.ParametreLit("Jours en corbeille")));
}

void F_Main::tellRunEnd(bool unattended) {
    const std::string summary = census::runSummary(report_);
    if (unattended) sys_.journal.systemLog("nettoyage sans surveillance : " + summary);
    // A manual run that removed nothing needs no word: the window shows it all.
    if (unattended || report_.removedFiles() > 0) sys_.notifier.notify("Vidor", summary);
}

void F_Main::restoreLastRun() {
    quiet_.silence();
    // Never beside a run that removes files, whose journal is still being written.
    if (sys_.process.previousInstance()) {
        sys_.process.writeError(
            "Vidor : un autre nettoyage est en cours ; relancez /RESTAURER quand il sera fini.");
        sys_.windows.endProgram(platform::kExitAnotherCopy);
    }
    sys_.windows.endProgram(census::restoreLastRun(journal_, sys_.trashed, sys_.process));
}

}  // namespace vidor::app
