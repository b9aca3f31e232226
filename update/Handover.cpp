#include "update/Handover.h"

#include <charconv>
#include <vector>

#include "korlib/Fichiers.h"
#include "korlib/Registre.h"
#include "update/Messages.h"

namespace vidor::update {

namespace {

// The copy handed over last, the program's date then, and how many starts handed it over:
// "<copy date> <program date> <times>".
constexpr const char* kHandedOver = "Mise à jour transmise";

// An update that failed this many times for the same copy is not tried again: each try ends in
// the updater's message, and the program would never open until the copy is mended.
constexpr int kMostTries = 3;

std::string handOverRecord(std::int64_t copyTime, std::int64_t localTime) {
    return std::to_string(copyTime) + " " + std::to_string(localTime);
}

// How many starts handed this copy over to a program of this date, which the updater then did
// not replace; 0 when none did.
int failedTries(const std::string& record, std::int64_t copyTime, std::int64_t localTime) {
    const std::string same = handOverRecord(copyTime, localTime);
    if (record == same) return 1;  // written before the count was kept
    if (!record.starts_with(same + " ")) return 0;
    int tries = 1;
    const char* first = record.data() + same.size() + 1;
    std::from_chars(first, record.data() + record.size(), tries);
    return tries;
}

// True when the program was replaced since it handed this very copy over: the updater could
// not give it the copy's date (a file system that refuses it, or rounds dates), and handing
// the same copy over again would start both programs in turn forever.
bool installedAlready(const std::string& record, std::int64_t copyTime, std::int64_t localTime) {
    return record.starts_with(std::to_string(copyTime) + " ") &&
           failedTries(record, copyTime, localTime) == 0;
}

// The parameters of this run one by one, so that the new version runs with the same ones.
std::vector<std::string> parametersOf(const std::string& commandLine) {
    std::vector<std::string> parameters;
    if (commandLine.empty()) return parameters;
    std::size_t start = 0;
    for (std::size_t space; (space = commandLine.find(' ', start)) != std::string::npos;
         start = space + 1) {
        parameters.push_back(commandLine.substr(start, space - start));
    }
    parameters.push_back(commandLine.substr(start));
    return parameters;
}

}  // namespace

void handOver(platform::Services& sys, const ProgramFiles& files, const std::string& updateFolder,
              std::int64_t localTime) {
    const std::string copy = files.copyIn(updateFolder);
    if (!korlib::FichierExiste(sys.files, copy)) return;
    // The copy may vanish between the two looks; there is then nothing to update from.
    const auto info = sys.files.info(copy);
    if (!info || info->modified <= localTime) return;
    // The updater could not or would not replace the program: handing over would only end in
    // its refusal at every start. The run of a user who can will update it.
    if (!sys.process.programReplaceable()) return;
    // The updater could not install this copy and started this version again to do the work.
    if (sys.process.updateFailed()) return;
    const korlib::Registre settings(sys.settings, files.baseName());
    const std::string record = settings.ParametreLit(kHandedOver);
    if (installedAlready(record, info->modified, localTime)) return;
    const int tries = failedTries(record, info->modified, localTime);
    if (tries >= kMostTries) return;

    settings.ParametreEcrit(
        kHandedOver, handOverRecord(info->modified, localTime) + " " + std::to_string(tries + 1));
    std::vector<std::string> arguments{copy, files.program()};
    for (std::string& parameter : parametersOf(sys.process.commandLine())) {
        arguments.push_back(std::move(parameter));
    }
    std::string error;
    if (sys.process.handOver(files.updater(), arguments, error)) {
        // Ending at once is what lets the updater replace the program file.
        sys.windows.endProgram(platform::kExitNormal);
    }
    const auto answer =
        sys.windows.messageBox(cannotStartUpdater(files.baseName(), files.updaterName()),
                               platform::Buttons::YesNo, platform::Icon::Question, kAttentionTitle);
    if (answer == platform::Answer::No) sys.windows.endProgram(platform::kExitNormal);
}

}  // namespace vidor::update
