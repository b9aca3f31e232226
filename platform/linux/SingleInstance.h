#pragma once

#include <sys/types.h>

#include <string>
#include <thread>

namespace vidor::platform::linux_ {

// The claim, held while this object lives, of being the copy of a program that runs for its
// user. The claim is an abstract Unix socket named after the program and the user id: every copy
// of the same user sees it whatever its environment, and it goes away with the process. A name
// held by another user is passed over for the next one, so that nobody else can keep a user's
// copies from running.
class SingleInstance {
  public:
    explicit SingleInstance(std::string programName) : program_(std::move(programName)) {}
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // True when another copy holds the claim; else this copy takes it (when it can).
    bool anotherRuns();

    // The abstract socket name (without its leading zero byte) of the `place`-th claim.
    static std::string placeName(const std::string& program, uid_t uid, int place);

  private:
    bool heldByUser(int place) const;

    std::string program_;
    int socket_ = -1;
    std::thread answering_;
};

}  // namespace vidor::platform::linux_
