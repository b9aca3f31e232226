#include "renovex/Renovex.h"

namespace vidor::renovex {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

int failed(Updater& updater, const std::string& program, const std::string& why) {
    updater.tell("La mise à jour du programme " + quoted(program) + " a échoué : " + why +
                 ".\nL'ancienne version reste en place.");
    return kExitFailed;
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
    if (!updater.openProgram(program, error)) return failed(updater, program, error);
    if (!updater.waitUntilEnded(deadline)) {
        return failed(updater, program, "il fonctionne encore après 30 secondes");
    }
    if (!updater.install(newVersion, deadline, error)) return failed(updater, program, error);
    if (!updater.start(program, parameters, error)) {
        updater.tell("Le programme " + quoted(program) +
                     " a été mis à jour mais je ne peux pas le lancer (" + error + ").");
        return kExitFailed;
    }
    return kExitDone;
}

}  // namespace vidor::renovex
