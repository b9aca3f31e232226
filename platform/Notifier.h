#pragma once

#include <string>

namespace vidor::platform {

// A word to the user's desktop once a job is done, in the corner of the screen, for a person who
// looks elsewhere meanwhile.
class Notifier {
  public:
    virtual ~Notifier() = default;

    // Sends `text` under the title `summary` when the desktop has a notification service;
    // never waits for it, and does nothing where there is none.
    virtual void notify(const std::string& summary, const std::string& text) = 0;
};

}  // namespace vidor::platform
