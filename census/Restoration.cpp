#include "census/Restoration.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/OneLine.h"
#include "platform/WindowSystem.h"

namespace vidor::census {

namespace {

// "1 fichier", "2 fichiers".
std::string files(std::size_t count) {
    return std::to_string(count) + (count > 1 ? " fichiers" : " fichier");
}

// The last line printed: what came back, what stayed in the bin, what cannot come back.
std::string closing(bool noRun, std::size_t back, std::size_t failed, std::size_t gone) {
    if (noRun) return "Le journal ne garde aucun nettoyage à défaire.\n";
    std::string text = files(back) + " remis en place";
    if (failed)
        text += ", " + files(failed) + (failed > 1 ? " restés" : " resté") + " dans la corbeille";
    if (gone) {
        text += " ; " + files(gone) + (gone > 1 ? " supprimés" : " supprimé") +
                " pour de bon par le dernier nettoyage" + (gone > 1 ? " ne peuvent" : " ne peut") +
                " pas revenir";
    }
    return text + ".\n";
}

// The run of the last line that removed a file; empty when no line did.
std::string lastRun(const std::vector<JournalEntry>& entries) {
    for (std::size_t i = entries.size(); i-- > 0;) {
        if (entries[i].line.removal()) return entries[i].line.run;
    }
    return {};
}

// Puts back one file; the reason it could not come back, or nothing.
std::optional<std::string> putBack(const JournalLine& line, platform::TrashedFiles& trashed) {
    if (line.trashedAs.empty()) return "la corbeille n'a pas dit sous quel nom elle le garde";
    const auto item = trashed.find(line.trashedAs, line.path);
    if (!item || item->size != line.size) return "il n'est plus dans la corbeille";
    const platform::Restoral restoral = trashed.putBack(line.trashedAs, line.path, line.folders);
    if (restoral.done) return std::nullopt;
    if (restoral.placeTaken) {
        return "sa place est prise : il reste dans la corbeille, sous " + line.trashedAs;
    }
    return restoral.reason;
}

}  // namespace

int restoreLastRun(RemovalJournal& journal, platform::TrashedFiles& trashed,
                   platform::Process& process) {
    const auto contents = journal.journal().read();
    if (!contents) {
        process.writeError("Vidor : le journal des suppressions ne peut pas être lu.");
        return platform::kExitUndeleted;
    }
    const std::vector<JournalEntry> entries = journalEntries(*contents);
    std::unordered_map<std::string_view, std::size_t> last;  // the last line of each trash name
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].line.trashedAs.empty()) last[entries[i].line.trashedAs] = i;
    }
    const std::string run = lastRun(entries);
    std::size_t back = 0, gone = 0, failed = 0;
    for (std::size_t i = 0; i < entries.size() && !run.empty(); ++i) {
        const JournalLine& line = entries[i].line;
        if (line.run != run || !line.removal()) continue;
        if (!line.trashed()) {
            ++gone;
            continue;
        }
        // Put back already, or emptied from the bin since.
        if (!line.trashedAs.empty() && last[line.trashedAs] != i) continue;
        if (const auto reason = putBack(line, trashed)) {
            process.writeFailure(line.path, *reason);
            ++failed;
            continue;
        }
        ++back;
        process.writeOutput(platform::oneLine(line.path) + '\n');
        JournalLine restored = line;
        restored.how = how::kRestored;
        journal.write(std::move(restored));
    }
    process.writeOutput(closing(run.empty(), back, failed, gone));
    return failed ? platform::kExitUndeleted : platform::kExitNormal;
}

}  // namespace vidor::census
