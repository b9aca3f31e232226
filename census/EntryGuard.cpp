#include "census/EntryGuard.h"

namespace vidor::census {

bool EntryGuard::hidden(const std::string& name) {
    return name.front() == '.';
}

bool EntryGuard::entered(const platform::FolderEntry& entry) {
    return !hidden(entry.name) && entry.kind != platform::EntryKind::File;
}

bool EntryGuard::mayTouch(const std::string& folder, const std::string& name) const {
    // The package guard last: it costs a look-up of the path, the name rule nothing.
    return !hidden(name) && !(files_ && files_->systemFile(folder + name));
}

}  // namespace vidor::census
