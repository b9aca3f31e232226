#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "census/JournalLine.h"
#include "census/RunReport.h"
#include "platform/Journal.h"
#include "platform/Process.h"
#include "platform/TrashedFiles.h"

namespace vidor::census {

// The journal as the program writes it: one line per file removed, put back or emptied from
// the recycle bin, each tagged with the run that wrote it (the date and time it started).
class RemovalJournal {
  public:
    RemovalJournal(platform::Journal& journal, platform::TrashedFiles& trashed,
                   platform::Process& process);

    // Records a removal the run report was told of.
    void record(const RunReport::Removed& removed);
    // Records `line`, dated now and tagged with this run. A journal that cannot be written is
    // told once on standard error, with the reason.
    void write(JournalLine line);

    // The line of `line` as it would be written now, tagged with this run.
    JournalLine stamped(JournalLine line);
    // The text of `line` as the journal writes it.
    std::string text(const JournalLine& line);

    const std::string& run() const { return run_; }
    platform::Journal& journal() { return journal_; }

  private:
    platform::Journal& journal_;
    platform::TrashedFiles& trashed_;
    platform::Process& process_;
    std::string run_;
    bool failureTold_ = false;
};

// The lines of a journal's text, in order, each with its text; lines the journal does not write
// (a line cut short by a crash) are left out.
struct JournalEntry {
    JournalLine line;
    std::string_view text;  // with its line break, inside the text read
};
std::vector<JournalEntry> journalEntries(std::string_view contents);

}  // namespace vidor::census
