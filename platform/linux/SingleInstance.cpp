#include "platform/linux/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

constexpr int kPlaces = 16;

struct Address {
    sockaddr_un address{};
    socklen_t length = 0;
};

Address abstractAddress(const std::string& name) {
    Address result;
    result.address.sun_family = AF_UNIX;
    // An abstract name starts with a zero byte and is not a file.
    const std::size_t size = std::min(name.size(), sizeof result.address.sun_path - 1);
    std::memcpy(result.address.sun_path + 1, name.data(), size);
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
    return result;
}

}  // namespace

std::string SingleInstance::placeName(const std::string& program, uid_t uid, int place) {
    return "Brenlo/" + program.substr(0, 64) + "/" + std::to_string(uid) + "/" +
           std::to_string(place);
}

SingleInstance::~SingleInstance() {
    if (socket_ < 0) return;
    ::shutdown(socket_, SHUT_RDWR);  // wakes the answering thread
    answering_.join();
    ::close(socket_);
}

bool SingleInstance::heldByUser(int place) const {
    const Address to = abstractAddress(placeName(program_, ::geteuid(), place));
    UniqueFd probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!probe ||
        ::connect(probe.get(), reinterpret_cast<const sockaddr*>(&to.address), to.length) != 0) {
        return false;
    }
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(probe.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

bool SingleInstance::anotherRuns() {
    if (socket_ >= 0) return false;
    // A copy of this user may hold a later place, taken while an earlier one was another's.
    for (int place = 0; place < kPlaces; ++place) {
        if (heldByUser(place)) return true;
    }
    for (int place = 0; place < kPlaces; ++place) {
        const Address at = abstractAddress(placeName(program_, ::geteuid(), place));
        UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (!fd) return false;
        if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&at.address), at.length) == 0 &&
            ::listen(fd.get(), 16) == 0) {
            socket_ = fd.release();
            // Copies that start later connect to ask who holds the place; they are let go at once.
            answering_ = std::thread([fd = socket_] {
                for (;;) {
                    const int asking = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
                    if (asking >= 0)
                        ::close(asking);
                    else if (errno != EINTR && errno != ECONNABORTED)
                        return;
                }
            });
            return false;
        }
        if (errno != EADDRINUSE) return false;  // no claim can be made: run anyway
        if (heldByUser(place)) return true;     // taken meanwhile by a copy of this user
    }
    return false;  // every place taken by other users: they must not stop this copy
}

}  // namespace vidor::platform::linux_
