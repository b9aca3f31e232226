#include "platform/linux/LateClose.h"

#include <chrono>
#include <system_error>

namespace vidor::platform::linux_ {

namespace {

// Enough to close in batches, few enough never to count against the descriptors left.
constexpr std::size_t kBatch = 64;
constexpr auto kLongestWait = std::chrono::milliseconds(1);

void closeEach(const std::vector<int>& fds) {
    for (const int fd : fds) ::close(fd);
}

}  // namespace

LateClose& LateClose::shared() {
    static LateClose late;
    return late;
}

LateClose::~LateClose() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
    closeEach(handed_);
}

void LateClose::hand(UniqueFd fd) {
    std::unique_lock lock(mutex_);
    if (handed_.size() >= 2 * kBatch) return;  // the thread lags behind: `fd` closes here
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            return;  // no thread to be had: `fd` closes here, as it would without one
        }
    }
    handed_.push_back(fd.release());
    // The thread sleeps while nothing waits, and then waits for a batch or a millisecond.
    if (handed_.size() == 1 || handed_.size() == kBatch) {
        lock.unlock();
        wake_.notify_one();
    }
}

void LateClose::closeAll() {
    std::vector<int> fds;
    {
        const std::lock_guard lock(mutex_);
        fds.swap(handed_);
    }
    closeEach(fds);
}

void LateClose::run() {
    std::vector<int> fds;
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait(lock, [this] { return stopping_ || !handed_.empty(); });
        wake_.wait_for(lock, kLongestWait,
                       [this] { return stopping_ || handed_.size() >= kBatch; });
        fds.swap(handed_);
        lock.unlock();
        closeEach(fds);
        fds.clear();
        lock.lock();
    }
}

}  // namespace vidor::platform::linux_
