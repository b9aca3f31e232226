#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vidor::census {

// How a file left its place (or came back), as the journal words it.
namespace how {
inline constexpr std::string_view kDeleted = "effacé";     // deleted for good
inline constexpr std::string_view kTrashed = "corbeille";  // sent to the recycle bin
inline constexpr std::string_view kPurge = "purgé";        // deleted for good by a purge
inline constexpr std::string_view kPurgedToTrash = "purgé-corbeille";  // purged into the bin
inline constexpr std::string_view kRestored = "restauré";              // put back from the bin
inline constexpr std::string_view kEmptied = "vidé";  // emptied from the bin after its days there
}  // namespace how

// One line of the journal: seven fields separated by tabs, every field on one line (control
// characters and "%" written as %XX):
//   date and time (local, ISO 8601 with the offset: 2026-12-07T06:37:06+01:00), how, size in
//   bytes, path (program's form), name in the recycle bin (machine's form; empty when deleted
//   for good), run (the date and time its run started and a mark of its own:
//   2026-12-07T06:30:00+01:00#3fa2), rights of the folders that held the file (what putting it
//   back needs; the system's own form).
struct JournalLine {
    std::int64_t time = 0;  // seconds since 1970 UTC
    std::string how;
    std::uint64_t size = 0;
    std::string path;
    std::string trashedAs;
    std::string run;
    std::string folders;

    // The file went to the recycle bin, by the deletion or by a purge.
    bool trashed() const { return how == how::kTrashed || how == how::kPurgedToTrash; }
    // The file left its place in this run (not put back, nor emptied from the bin).
    bool removal() const { return trashed() || how == how::kDeleted || how == how::kPurge; }
};

// The line's text, its time written with `utcOffset` (seconds ahead of UTC), ending with "\n".
std::string journalText(const JournalLine& line, int utcOffset);
// The line of `text` (without its line break); nullopt when it is not one the journal writes.
std::optional<JournalLine> parseJournalLine(std::string_view text);

// `time` (seconds since 1970 UTC) in local time as 2026-12-07T06:37:06+01:00.
std::string isoTime(std::int64_t time, int utcOffset);
// The seconds since 1970 UTC that such a text names; nullopt when it is not one.
std::optional<std::int64_t> parseIsoTime(std::string_view text);

}  // namespace vidor::census
