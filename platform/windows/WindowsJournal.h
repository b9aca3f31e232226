#pragma once

#include <cstdint>
#include <string>

#include "platform/Journal.h"
#include "platform/windows/Handle.h"

namespace vidor::platform::windows {

// The journal as the file journal.tsv of %LOCALAPPDATA%\Brenlo\Vidor, never written through a
// reparse point (a link or a junction) on the way. Windows keeps no system log for it.
class WindowsJournal : public Journal {
  public:
    ~WindowsJournal() override;

    std::int64_t now() override;
    int utcOffset(std::int64_t time) override;
    bool append(const std::string& line, std::string& error) override;
    std::optional<std::string> read() override;
    bool replace(const std::string& contents) override;
    void systemLog(const std::string&) override {}

    // The journal's file, or the empty text when the user has no local application folder.
    static std::string path();

  private:
    bool open(std::string& error);

    Handle file_;
    std::int64_t lastFlush_ = 0;
};

}  // namespace vidor::platform::windows
