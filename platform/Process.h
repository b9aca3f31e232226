#pragma once

#include <string>
#include <vector>

#include "platform/OneLine.h"
#include "platform/Version.h"

namespace vidor::platform {

// A program's version as its titles show it.
struct VersionNumbers {
    int major;
    int minor;
    int revision;
    bool operator==(const VersionNumbers&) const = default;
};

// Set, to 1, in the environment of a program that the updater starts again because the new
// version could not be installed.
inline constexpr const char* kFailedUpdateVariable = "RENOVEX_ECHEC";

// The running program as the system sees it.
class Process {
  public:
    virtual ~Process() = default;

    // True when another copy of this program already runs for this user. The first call
    // claims the place for this copy.
    virtual bool previousInstance() = 0;

    // The text that follows the program's name on its command line; empty without parameters.
    virtual std::string commandLine() = 0;

    // The program file's name without its extension (normally Vidor).
    virtual std::string exeName() = 0;

    // The folder of the program file, without a final separator.
    virtual std::string exeFolder() = 0;

    // The program's version: the one it was built with, unless the program file says otherwise
    // (on Windows, its version resource).
    virtual VersionNumbers version() { return {kVersionMajor, kVersionMinor, kVersionRevision}; }

    // What the system adds to a program's name to make its file name (".exe", or nothing).
    virtual std::string programSuffix() = 0;

    // The character that separates folder names in the machine's own paths.
    virtual char separator() = 0;

    // Writes one line on the program's standard error, for whoever runs it unattended.
    void writeError(const std::string& line) { writeStandardError(oneLine(line) + '\n'); }

    // Writes on standard error a path the run could not handle, a tab, and why: one line each,
    // so that `cut -f1` gives the paths.
    void writeFailure(const std::string& path, const std::string& reason) {
        writeStandardError(oneLine(path) + '\t' + oneLine(reason) + '\n');
    }

    // Writes `text` as it is on the program's standard output.
    virtual void writeOutput(const std::string& text) = 0;

    // True when the updater may replace the program file in its folder: this user may create
    // and rename files there, and the folder is one the updater accepts (on Linux, not a link
    // and writable by its owner only).
    virtual bool programReplaceable() = 0;

    // True when the updater started this run again because it could not install the new
    // version: this run must do its work, not hand the copy over again.
    virtual bool updateFailed() = 0;

    // Hands the run over to `program` with `arguments`, in the environment this program was
    // given (not the settings it made for itself). Where the system allows it (Linux), this
    // process becomes `program`, so that whoever waits for this run (a scheduler) waits for it
    // too, and the call returns only on failure; elsewhere `program` starts, true is returned
    // and this program must end at once. On failure `error` says why.
    virtual bool handOver(const std::string& program, const std::vector<std::string>& arguments,
                          std::string& error) = 0;

  protected:
    // Writes `text` as it is on standard error.
    virtual void writeStandardError(const std::string& text) = 0;
};

}  // namespace vidor::platform
