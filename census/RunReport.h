#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/WindowSystem.h"

namespace vidor::census {

// What a run removed and what it could not, told as it happens by the purge and the deletion
// (and, for the folders it could not list, by the walk). An unattended run ends by naming each
// failure with its reason, and its status says whether there was one.
class RunReport {
  public:
    // A file that left its place.
    struct Removed {
        std::string path;  // in the program's form
        std::uint64_t size = 0;
        bool purged = false;    // by the purge of a TEMP or Temporary Internet Files folder
        bool trashed = false;   // to the recycle bin, not deleted for good
        std::string trashedAs;  // where it lies in the recycle bin, when the system told it
    };
    // A path the run could not handle, and why.
    struct Failure {
        std::string path;
        std::string reason;
    };

    // A new census starts: what the earlier one removed or could not handle no longer counts.
    void startCensus();

    // A file of `path` was removed as `removal` tells, by the purge when `purged`.
    void removed(const std::string& path, const platform::Removal& removal, bool trashed,
                 bool purged);
    void failed(const std::string& path, const std::string& reason);

    const std::vector<Failure>& failures() const { return failures_; }
    std::uint64_t removedFiles() const { return removedFiles_; }
    std::uint64_t removedBytes() const { return removedBytes_; }
    // Of those removed, the ones sent to the recycle bin.
    std::uint64_t trashedFiles() const { return trashedFiles_; }
    std::uint64_t trashedBytes() const { return trashedBytes_; }

    // The run is over (its deletion done, or its census found nothing to list): tells
    // onFinished, with whether the run was unattended.
    void finish(bool unattended) const {
        if (onFinished) onFinished(unattended);
    }

    // Writes every failure on standard error, one line each: the path, a tab, the reason.
    void tellFailures(platform::Process& process) const;

    // Ends an unattended run, once finish() is told: with kExitUndeleted, once the failures are
    // told, when there were any; else with kExitNormal.
    [[noreturn]] void endUnattended(platform::Process& process,
                                    platform::WindowSystem& windows) const;

    // Told of each removal as it happens, to record it.
    std::function<void(const Removed&)> onRemoved;
    // Told when a run is over, to tell the user and the system what it did.
    std::function<void(bool unattended)> onFinished;

  private:
    std::vector<Failure> failures_;
    std::uint64_t removedFiles_ = 0;
    std::uint64_t removedBytes_ = 0;
    std::uint64_t trashedFiles_ = 0;
    std::uint64_t trashedBytes_ = 0;
};

}  // namespace vidor::census
