#include "update/Handover.h"

#include <vector>

#include "korlib/Fichiers.h"
#include "korlib/Registre.h"
#include "update/Messages.h"

namespace vidor::update {

namespace {

// The copy handed over last, and the program's date then: "<copy date> <program date>".
constexpr const char* kHandedOver = "Mise à jour transmise";

std::string handOverRecord(std::int64_t copyTime, std::int64_t localTime) {
    return std::to_string(copyTime) + " " + std::to_string(localTime);
}

// True when the program was replaced since it handed this very copy over: the updater could
// not give it the copy's date (a file system that refuses it, or rounds dates), and handing
// the same copy over again would start both programs in turn forever.
bool installedAlready(const korlib::Registre& settings, std::int64_t copyTime,
                      std::int64_t localTime) {
    const std::string record = settings.ParametreLit(kHandedOver);
    const std::string copyPart = std::to_string(copyTime) + " ";
    return record.starts_with(copyPart) && record != handOverRecord(copyTime, localTime);
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
    const korlib::Registre settings(sys.settings, files.baseName());
    if (installedAlready(settings, info->modified, localTime)) return;

    settings.ParametreEcrit(kHandedOver, handOverRecord(info->modified, localTime));
    std::vector<std::string> arguments{copy, files.program()};
    for (std::string& parameter : parametersOf(sys.process.commandLine())) {
        arguments.push_back(std::move(parameter));
    }
    std::string error;
    if (sys.process.startProgram(files.updater(), arguments, error)) {
        // Ending at once is what lets the updater replace the program file.
        sys.windows.endProgram(platform::kExitNormal);
    }
    const auto answer =
        sys.windows.messageBox(cannotStartUpdater(files.baseName(), files.updaterName()),
                               platform::Buttons::YesNo, platform::Icon::Question, kTitreAttention);
    if (answer == platform::Answer::No) sys.windows.endProgram(platform::kExitNormal);
}

}  // namespace vidor::update
