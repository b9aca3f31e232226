#include "census/TrashUpkeep.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace vidor::census {

namespace {

constexpr std::int64_t kDay = 86400;

// What the upkeep decides for the lines of the journal.
struct Upkeep {
    std::vector<JournalEntry> entries;
    std::vector<bool> pending;         // its file is the program's, still to be emptied later
    std::vector<JournalLine> emptied;  // files emptied from the bin now
};

// True when the bin holds the file of `line` as it was put there: the same name and path, the
// same size, and put there when the journal says (a day either way for a changed time zone).
bool stillThere(const JournalLine& line, const platform::TrashedItem& item) {
    const std::int64_t apart = item.deleted - line.time;
    return item.size == line.size && apart <= kDay && apart >= -kDay;
}

// Looks at the program's files in the bin that may have had their days, and empties those.
void expire(Upkeep& upkeep, RemovalJournal& journal, platform::TrashedFiles& trashed, int days) {
    std::unordered_map<std::string_view, std::size_t> last;  // the last line of each name
    for (std::size_t i = 0; i < upkeep.entries.size(); ++i) {
        const JournalLine& line = upkeep.entries[i].line;
        if (!line.trashedAs.empty()) last[line.trashedAs] = i;
    }
    const std::int64_t now = journal.journal().now();
    const std::int64_t kept = days * kDay;
    for (const auto& [name, i] : last) {
        const JournalLine& line = upkeep.entries[i].line;
        if (days <= 0 || !line.trashed()) continue;
        // The bin's own date decides; the journal's is a few seconds later.
        if (now - line.time <= kept - kDay) {
            upkeep.pending[i] = true;
            continue;
        }
        const auto item = trashed.find(line.trashedAs, line.path);
        if (!item || !stillThere(line, *item)) continue;
        if (now - item->deleted <= kept) {
            upkeep.pending[i] = true;
        } else if (trashed.empty(line.trashedAs)) {
            JournalLine gone = line;
            gone.how = how::kEmptied;
            gone.folders.clear();
            upkeep.emptied.push_back(journal.stamped(std::move(gone)));
        }
    }
}

// The text of the journal once the lines it no longer keeps are dropped, newest kept first.
std::string trimmed(const Upkeep& upkeep, std::int64_t now) {
    std::vector<bool> keep(upkeep.entries.size());
    std::size_t count = 0;
    for (std::size_t i = upkeep.entries.size(); i-- > 0;) {
        const bool recent = now - upkeep.entries[i].line.time <= kJournalDays * kDay;
        keep[i] = upkeep.pending[i] || (recent && count < kJournalLines);
        if (keep[i]) ++count;
    }
    std::string text;
    for (std::size_t i = 0; i < keep.size(); ++i) {
        if (keep[i]) text += upkeep.entries[i].text;
    }
    return text;
}

}  // namespace

void keepUp(RemovalJournal& journal, platform::TrashedFiles& trashed, int days) {
    const auto contents = journal.journal().read();
    if (!contents) return;
    Upkeep upkeep;
    upkeep.entries = journalEntries(*contents);
    upkeep.pending.assign(upkeep.entries.size(), false);
    expire(upkeep, journal, trashed, days);
    // Lines cut short, or not the journal's, go with the old ones.
    const std::string text = trimmed(upkeep, journal.journal().now());
    if (text.size() == contents->size() && upkeep.emptied.empty()) return;
    std::string added;
    for (const JournalLine& line : upkeep.emptied) added += journal.text(line);
    if (journal.journal().replace(text + added)) return;
    // The old lines stay; what was emptied is told all the same.
    for (const JournalLine& line : upkeep.emptied) journal.write(line);
}

}  // namespace vidor::census
