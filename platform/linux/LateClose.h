#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// Closes descriptors on a thread of its own, within a millisecond of their handing over. A
// removal holds the file it removes open until it is gone; the last close of a removed file is
// when the system frees it, which then costs the removal nothing. A few dozen descriptors at most
// wait at a time, and `closeAll` closes them at once when descriptors run short.
class LateClose {
  public:
    static LateClose& shared();

    LateClose() = default;
    LateClose(const LateClose&) = delete;
    LateClose& operator=(const LateClose&) = delete;
    ~LateClose();

    void hand(UniqueFd fd);
    void closeAll();

  private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<int> handed_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace vidor::platform::linux_
