#pragma once

#include <cstddef>

#include "census/RemovalJournal.h"
#include "platform/TrashedFiles.h"

namespace vidor::census {

// How many days the files the program sends to the recycle bin stay there unless the setting
// "Jours en corbeille" says otherwise (0: until the user empties the bin).
inline constexpr int kDefaultTrashDays = 30;
// The journal keeps the lines of the last days and at most this many lines, the oldest dropped
// first; the lines of files the program still has to empty from the bin are kept all the same.
inline constexpr int kJournalDays = 30;
inline constexpr std::size_t kJournalLines = 100000;

// Done at the start of every census: empties from the recycle bin each file the program put
// there more than `days` days ago (0: never) and that the bin still holds as the journal recorded
// it (the same name there, path and size, put there when the journal says), recording it as
// "vidé"; then drops from the journal the lines it no longer keeps. Nothing else of the bin is
// touched.
void keepUp(RemovalJournal& journal, platform::TrashedFiles& trashed, int days);

}  // namespace vidor::census
