#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/linux/FolderListing.h"
#include "platform/linux/FolderNode.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// A descriptor of a folder whose sub-folders wait to be opened ahead; counted so that their
// number stays bounded (the count is raised before the descriptor is made).
struct OpenParent {
    OpenParent(int descriptor, std::atomic<std::size_t>& count) : fd(descriptor), count(count) {}
    ~OpenParent() { --count; }
    UniqueFd fd;
    std::atomic<std::size_t>& count;
};

// A sub-folder that the read-ahead opens and lists before it is asked for, and the sub-folders
// of its own it opens in turn. Its fields are the read-ahead's, under its lock, but for those the
// reader fills before the folder is published as read.
struct AheadFolder {
    enum class State { Pending, Reading, Read, Failed, Taken, Dropped };

    AheadFolder(std::string name, std::shared_ptr<OpenParent> parent, dev_t volume,
                std::shared_ptr<const ListingUse> use)
        : name(std::move(name)), parent(std::move(parent)), volume(volume), use(std::move(use)) {}

    const std::string name;
    std::shared_ptr<OpenParent> parent;  // until the folder is opened
    const dev_t volume;
    const std::shared_ptr<const ListingUse> use;
    State state = State::Pending;
    std::atomic<bool> dropped = false;                        // tells its reader to stop
    std::list<std::shared_ptr<AheadFolder>>::iterator place;  // in the queue while not read

    // What the reader found.
    UniqueFd fd;
    FolderIdentity identity;
    FolderListing listing;
    bool complete = false;  // the listing holds every entry; else the rest is read on demand

    // Its sub-folders in the order they are asked for; those taken or passed are null.
    std::vector<std::shared_ptr<AheadFolder>> subFolders;
    std::size_t nextSub = 0;
    bool subFoldersAhead = false;
};

// Worker threads, one per core and at most 8, that open and list folders before the walk asks for
// them, in the order it will ask: a folder's sub-folders come right after it, depth first. At most
// kHeldFolders folders read and not yet taken are held, each with one descriptor and at most
// kHeldBytes of listing in memory (a longer listing is read on by the folder that takes it); at
// most kOpenParents more descriptors keep open the folders whose sub-folders wait to be opened.
class ReadAhead {
  public:
    static constexpr std::size_t kHeldFolders = 32;
    static constexpr std::size_t kHeldBytes = 256 * 1024;
    static constexpr std::size_t kOpenParents = 32;

    ReadAhead() = default;
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    ~ReadAhead();

    // Schedules the sub-folders `names` of the open folder `folder`, before everything scheduled
    // so far. The group returned stands for `folder`; dropping it cancels what was not taken.
    std::shared_ptr<AheadFolder> schedule(int folder, dev_t volume,
                                          const std::vector<std::string>& names,
                                          std::shared_ptr<const ListingUse> use);

    // The sub-folder `name` of `parent`, read: waits while a worker reads it, reads it here when
    // no worker has started. Sub-folders of `parent` scheduled before it are dropped. Null when it
    // was not scheduled or could not be opened.
    std::shared_ptr<AheadFolder> take(AheadFolder& parent, std::string_view name);

    // Drops the sub-folders of `folder` not taken, and theirs: their descriptors are closed and
    // their readers stop.
    void drop(AheadFolder& folder);

    // Waits until no worker reads and none can start (for tests).
    void waitIdle();
    // How many folders are read and not taken.
    std::size_t held();

  private:
    void start();
    void work();
    std::shared_ptr<AheadFolder> firstPending() const;
    void read(AheadFolder& folder, const OpenParent& parent, std::vector<char>& buffer);
    void aheadOfSubFolders(AheadFolder& folder);
    static void aheadOfSizes(const AheadFolder& folder);
    void publish(const std::shared_ptr<AheadFolder>& folder);
    void wakeWorkers();
    std::shared_ptr<OpenParent> openParent(int folder);
    void dropLocked(std::shared_ptr<AheadFolder> folder);

    std::atomic<std::size_t> openParents_ = 0;  // outlives the folders that count on it
    std::mutex mutex_;
    std::condition_variable work_;  // for the workers: a folder to read, or the end
    std::condition_variable read_;  // for those waiting for a folder to be read
    int idle_ = 0;                  // workers waiting for work_
    int waiting_ = 0;               // threads waiting for read_
    std::list<std::shared_ptr<AheadFolder>> queue_;  // waiting or being read, in walk order
    std::size_t held_ = 0;
    std::size_t workersReading_ = 0;
    bool stop_ = false;
    std::vector<char> buffer_;  // the listing buffer of the calling thread
    std::vector<std::thread> workers_;
};

}  // namespace vidor::platform::linux_
