#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Journal.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// The journal as the file journal.tsv of $XDG_STATE_HOME/Brenlo/Vidor (~/.local/state/...).
// Its folders are made as the settings' are (writeOwnFile's rules); the file itself is never a
// link, and always the running user's. Lines are flushed to the disk at most a second apart, and
// when the journal closes.
class LinuxJournal : public Journal {
  public:
    ~LinuxJournal() override;

    std::int64_t now() override;
    int utcOffset(std::int64_t time) override;
    bool append(const std::string& line, std::string& error) override;
    std::optional<std::string> read() override;
    bool replace(const std::string& contents) override;
    void systemLog(const std::string& line) override;

    // The journal's file.
    static std::string path();

    // Stands for the system's clock, for the tests; nullptr gives it back.
    void setClock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }

  private:
    // Opens the folder of the journal, making it when missing; -1 with `error` set.
    static UniqueFd folder(std::string& error);
    bool open(std::string& error);

    UniqueFd file_;
    std::int64_t lastSync_ = 0;
    std::function<std::int64_t()> clock_;
};

}  // namespace vidor::platform::linux_
