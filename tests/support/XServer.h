#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace vidor::test {

// A virtual X server (Xvfb) for the time of a test, on a display number it picks itself. Given
// an authority file, it lets in only the clients that show one of its cookies. It never resets
// (a server resets when its last client leaves, refusing clients meanwhile).
class XServer {
  public:
    explicit XServer(const std::filesystem::path& authority = {});
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    ~XServer();

    // False when Xvfb could not be started (not installed...).
    bool running() const { return number_ >= 0; }
    // The display number, as in ":<number>".
    int number() const { return number_; }

  private:
    pid_t pid_ = -1;
    int number_ = -1;
};

}  // namespace vidor::test
