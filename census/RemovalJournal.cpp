#include "census/RemovalJournal.h"

#include <cstdio>
#include <random>

namespace vidor::census {

RemovalJournal::RemovalJournal(platform::Journal& journal, platform::TrashedFiles& trashed,
                               platform::Process& process)
    : journal_(journal), trashed_(trashed), process_(process) {
    // Its start, and a mark of its own for two runs started in the same second.
    const std::int64_t now = journal_.now();
    char mark[8];
    std::snprintf(mark, sizeof mark, "#%04x",
                  static_cast<unsigned>(std::random_device()() & 0xFFFF));
    run_ = isoTime(now, journal_.utcOffset(now)) + mark;
}

void RemovalJournal::record(const RunReport::Removed& removed) {
    JournalLine line;
    line.how = removed.purged ? (removed.trashed ? how::kPurgedToTrash : how::kPurge)
                              : (removed.trashed ? how::kTrashed : how::kDeleted);
    line.size = removed.size;
    line.path = removed.path;
    line.trashedAs = removed.trashedAs;
    // Read while the folders are there: a purge removes them after their files.
    if (removed.trashed) line.folders = trashed_.folderRights(removed.path);
    write(std::move(line));
}

JournalLine RemovalJournal::stamped(JournalLine line) {
    line.time = journal_.now();
    line.run = run_;
    return line;
}

std::string RemovalJournal::text(const JournalLine& line) {
    return journalText(line, journal_.utcOffset(line.time));
}

void RemovalJournal::write(JournalLine line) {
    std::string error;
    if (journal_.append(text(stamped(std::move(line))), error) || failureTold_) return;
    failureTold_ = true;
    process_.writeError("Vidor : le journal des suppressions ne peut pas être écrit : " + error);
}

std::vector<JournalEntry> journalEntries(std::string_view contents) {
    std::vector<JournalEntry> entries;
    while (!contents.empty()) {
        const std::size_t end = contents.find('\n');
        // A last line without its line break was cut short.
        if (end == std::string_view::npos) break;
        const std::string_view text = contents.substr(0, end + 1);
        if (auto line = parseJournalLine(text.substr(0, end))) {
            entries.push_back({std::move(*line), text});
        }
        contents.remove_prefix(end + 1);
    }
    return entries;
}

}  // namespace vidor::census
