#include "census/RunReport.h"

namespace vidor::census {

void RunReport::startCensus() {
    failures_.clear();
    removedFiles_ = removedBytes_ = trashedFiles_ = trashedBytes_ = 0;
}

void RunReport::removed(const std::string& path, const platform::Removal& removal, bool trashed,
                        bool purged) {
    const std::uint64_t size = removal.size.value_or(0);
    ++removedFiles_;
    removedBytes_ += size;
    if (trashed) {
        ++trashedFiles_;
        trashedBytes_ += size;
    }
    if (onRemoved) onRemoved({path, size, purged, trashed, removal.trashedAs});
}

void RunReport::failed(const std::string& path, const std::string& reason) {
    failures_.push_back({path, reason});
}

void RunReport::tellFailures(platform::Process& process) const {
    for (const Failure& failure : failures_) process.writeFailure(failure.path, failure.reason);
}

void RunReport::endUnattended(platform::Process& process, platform::WindowSystem& windows) const {
    finish(true);
    if (failures_.empty()) windows.endProgram(platform::kExitNormal);
    // Nobody watches an unattended run: whoever started it learns what is left, and why.
    tellFailures(process);
    windows.endProgram(platform::kExitUndeleted);
}

}  // namespace vidor::census
