#include "platform/linux/ReadAhead.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/linux/LinuxFolder.h"

namespace vidor::platform::linux_ {

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    work_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void ReadAhead::start() {
    if (!workers_.empty()) return;
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    for (unsigned i = 0; i < cores; ++i) workers_.emplace_back([this] { work(); });
}

std::shared_ptr<AheadFolder> ReadAhead::firstPending() const {
    for (const auto& folder : queue_) {
        if (folder->state == AheadFolder::State::Pending) return folder;
    }
    return nullptr;
}

void ReadAhead::work() {
    std::vector<char> buffer;
    std::unique_lock lock(mutex_);
    for (;;) {
        std::shared_ptr<AheadFolder> folder;
        ++idle_;
        work_.wait(lock, [&] {
            if (stop_) return true;
            // The folders the workers are reading count too: two workers must not both take
            // the last place.
            if (held_ + workersReading_ < kHeldFolders) folder = firstPending();
            return folder != nullptr;
        });
        --idle_;
        if (stop_) return;
        folder->state = AheadFolder::State::Reading;
        ++workersReading_;
        std::shared_ptr<OpenParent> parent = std::move(folder->parent);
        lock.unlock();
        read(*folder, *parent, buffer);
        parent.reset();  // closes it, when it was the last, out of the lock
        lock.lock();
        --workersReading_;
        publish(folder);
    }
}

void ReadAhead::read(AheadFolder& folder, const OpenParent& parent, std::vector<char>& buffer) {
    FolderError ignored;
    folder.fd = UniqueFd(
        openSubFolder(parent.fd.get(), folder.name, folder.volume, folder.identity, ignored));
    if (!folder.fd) return;
    bool more = true;
    while (more && folder.listing.bytes() < kHeldBytes && !folder.dropped)
        more = readListing(folder.fd.get(), folder.listing, buffer);
    folder.complete = !more;
    if (folder.dropped) return;
    aheadOfSizes(folder);
    if (folder.complete) aheadOfSubFolders(folder);
}

void ReadAhead::aheadOfSizes(const AheadFolder& folder) {
    // On a cold cache, reading a file's size waits for the disk: the answers are left in the
    // system's cache for the walk, which reads them again itself.
    if (!folder.use->sized) return;
    folder.listing.forEach([&](const FolderEntry& entry) {
        struct stat st {};
        if (folder.use->sized(entry))
            (void)::fstatat(folder.fd.get(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW);
    });
}

void ReadAhead::aheadOfSubFolders(AheadFolder& folder) {
    std::vector<std::string> names;
    folder.listing.forEach([&](const FolderEntry& entry) {
        if (folder.use->opens(entry)) names.push_back(entry.name);
    });
    if (names.empty()) return;
    auto parent = openParent(folder.fd.get());
    if (!parent) return;
    folder.subFolders.reserve(names.size());
    for (std::string& name : names) {
        folder.subFolders.push_back(
            std::make_shared<AheadFolder>(std::move(name), parent, folder.volume, folder.use));
    }
    folder.subFoldersAhead = true;
}

std::shared_ptr<OpenParent> ReadAhead::openParent(int folder) {
    if (openParents_.fetch_add(1) >= kOpenParents) {
        --openParents_;
        return nullptr;
    }
    const int copy = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) {
        --openParents_;
        return nullptr;
    }
    return std::make_shared<OpenParent>(copy, openParents_);
}

void ReadAhead::publish(const std::shared_ptr<AheadFolder>& folder) {
    // Its sub-folders take its place in the queue: they are asked for right after it.
    const auto after = queue_.erase(folder->place);
    if (folder->state == AheadFolder::State::Dropped) {
        folder->fd.reset();
        folder->subFolders.clear();
    } else if (!folder->fd) {
        folder->state = AheadFolder::State::Failed;
    } else {
        for (const auto& sub : folder->subFolders) sub->place = queue_.insert(after, sub);
        folder->state = AheadFolder::State::Read;
        ++held_;
        if (folder->subFolders.size() == 1 && idle_ > 0) {
            work_.notify_one();
        } else if (!folder->subFolders.empty()) {
            wakeWorkers();
        }
    }
    if (waiting_ > 0) read_.notify_all();
}

void ReadAhead::wakeWorkers() {
    if (idle_ > 0) work_.notify_all();
}

std::shared_ptr<AheadFolder> ReadAhead::schedule(int folder, dev_t volume,
                                                 const std::vector<std::string>& names,
                                                 std::shared_ptr<const ListingUse> use) {
    auto group = std::make_shared<AheadFolder>(std::string(), nullptr, volume, use);
    group->state = AheadFolder::State::Taken;
    if (names.empty()) return group;
    auto parent = openParent(folder);
    if (!parent) return group;
    std::lock_guard lock(mutex_);
    start();
    const auto first = queue_.begin();
    for (const std::string& name : names) {
        auto sub = std::make_shared<AheadFolder>(name, parent, volume, use);
        sub->place = queue_.insert(first, sub);
        group->subFolders.push_back(std::move(sub));
    }
    group->subFoldersAhead = true;
    wakeWorkers();
    return group;
}

std::shared_ptr<AheadFolder> ReadAhead::take(AheadFolder& parent, std::string_view name) {
    std::unique_lock lock(mutex_);
    auto& subs = parent.subFolders;
    std::size_t at = parent.nextSub;
    while (at < subs.size() && subs[at]->name != name) ++at;
    if (at == subs.size()) return nullptr;
    for (; parent.nextSub < at; ++parent.nextSub) dropLocked(std::move(subs[parent.nextSub]));
    std::shared_ptr<AheadFolder> folder = std::move(subs[at]);
    parent.nextSub = at + 1;
    if (folder->state == AheadFolder::State::Pending) {
        // No worker got to it yet: it is needed now, read it here.
        folder->state = AheadFolder::State::Reading;
        std::shared_ptr<OpenParent> opener = std::move(folder->parent);
        lock.unlock();
        read(*folder, *opener, buffer_);
        opener.reset();
        lock.lock();
        publish(folder);
    }
    ++waiting_;
    read_.wait(lock, [&] { return folder->state != AheadFolder::State::Reading; });
    --waiting_;
    if (folder->state != AheadFolder::State::Read) return nullptr;
    folder->state = AheadFolder::State::Taken;
    if (held_-- == kHeldFolders) wakeWorkers();
    return folder;
}

void ReadAhead::drop(AheadFolder& folder) {
    std::lock_guard lock(mutex_);
    const std::size_t held = held_;
    for (auto& sub : folder.subFolders) {
        if (sub) dropLocked(std::move(sub));
    }
    folder.subFolders.clear();
    // Only room made among the folders held lets a worker go on; most folders dropped (those
    // without sub-folders) free none, and waking the workers for nothing costs each a switch.
    if (held_ < held) wakeWorkers();
}

void ReadAhead::dropLocked(std::shared_ptr<AheadFolder> folder) {
    // A loop, not recursion: what was read ahead may be deep.
    std::vector<std::shared_ptr<AheadFolder>> left{std::move(folder)};
    while (!left.empty()) {
        std::shared_ptr<AheadFolder> next = std::move(left.back());
        left.pop_back();
        switch (next->state) {
            case AheadFolder::State::Pending:
                queue_.erase(next->place);
                next->parent.reset();
                break;
            case AheadFolder::State::Reading:
                // Its reader stops and lets go of it when it publishes.
                next->dropped = true;
                next->state = AheadFolder::State::Dropped;
                continue;
            case AheadFolder::State::Read:
                --held_;
                next->fd.reset();
                break;
            default:
                break;
        }
        next->state = AheadFolder::State::Dropped;
        for (auto& sub : next->subFolders) {
            if (sub) left.push_back(std::move(sub));
        }
        next->subFolders.clear();
    }
}

void ReadAhead::waitIdle() {
    std::unique_lock lock(mutex_);
    ++waiting_;
    read_.wait(lock, [&] {
        const bool reading = std::any_of(queue_.begin(), queue_.end(), [](const auto& f) {
            return f->state == AheadFolder::State::Reading;
        });
        // A folder dropped while a worker reads it is no longer in the queue's count, but its
        // descriptor stays open until the worker lets go of it.
        return !reading && workersReading_ == 0 && (held_ >= kHeldFolders || !firstPending());
    });
    --waiting_;
}

std::size_t ReadAhead::held() {
    std::lock_guard lock(mutex_);
    return held_;
}

}  // namespace vidor::platform::linux_
