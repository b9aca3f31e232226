#include "renovex/Renovex.h"

namespace vidor::renovex {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string failure(const std::string& program, const std::string& why) {
    return "La mise à jour du programme " + quoted(program) + " a échoué : " + why +
           ".\nL'ancienne version reste en place.";
}

int failed(Updater& updater, const std::string& program, const std::string& why) {
    updater.tell(failure(program, why));
    return kExitFailed;
}

// Starts `program` with `parameters`. A run with parameters is unattended: it is waited for and
// its status becomes the updater's, so that whoever started the run that handed over learns
// how its work ended. Without parameters the window is left to the user.
int runProgram(Updater& updater, const std::string& program,
               const std::vector<std::string>& parameters, Start start, std::string& error) {
    if (!updater.start(program, parameters, start, error)) return -1;
    return parameters.empty() ? kExitDone : updater.waitForStarted();
}

// The new version could not be installed: the run that handed over did no work, so the version
// in place does it now, told not to hand over again.
int runOldVersion(Updater& updater, const std::string& program,
                  const std::vector<std::string>& parameters, const std::string& why) {
    std::string error;
    if (!updater.start(program, parameters, Start::AfterFailedUpdate, error)) {
        return failed(updater, program,
                      why + " ; je ne peux pas non plus la relancer (" + error + ")");
    }
    updater.tell(failure(program, why));
    return parameters.empty() ? kExitFailed : updater.waitForStarted();
}

}  // namespace

int runUpdate(const std::vector<std::string>& arguments, Updater& updater) {
    if (arguments.size() < 2) {
        updater.tell(
            "Renovex remplace un programme par sa nouvelle version, puis le relance avec les "
            "paramètres donnés.\n"
            "Utilisation : Renovex \"<nouvelle version>\" \"<programme>\" [paramètres...]");
        return kExitUsage;
    }
    const std::string& newVersion = arguments[0];
    const std::string& program = arguments[1];
    const std::vector<std::string> parameters(arguments.begin() + 2, arguments.end());
    // The program ends right after starting this one; it is not waited for longer than this.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string error;
    // A folder refused is not run from either: anyone who may write there chose its program.
    if (!updater.openProgram(program, error)) return failed(updater, program, error);
    if (!updater.waitUntilEnded(deadline)) {
        return failed(updater, program, "il fonctionne encore après 30 secondes");
    }
    if (!updater.install(newVersion, deadline, error)) {
        return runOldVersion(updater, program, parameters, error);
    }
    const int status = runProgram(updater, program, parameters, Start::NewVersion, error);
    if (status < 0) {
        updater.tell("Le programme " + quoted(program) +
                     " a été mis à jour mais je ne peux pas le lancer (" + error + ").");
        return kExitFailed;
    }
    return status;
}

}  // namespace vidor::renovex
