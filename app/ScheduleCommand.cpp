// "/PLANIFIER": the unattended run scheduled with the system's own scheduler.

#include "app/ScheduleCommand.h"

#include <optional>

#include "app/CommandLine.h"
#include "korlib/Registre.h"
#include "korlib/Texte.h"
#include "platform/WindowSystem.h"
#include "update/ProgramFiles.h"

namespace vidor::app {

namespace {

using platform::Frequency;
using platform::Schedule;

constexpr const char* kCommand = "/PLANIFIER";
constexpr int kNotDone = 1;

enum class Action { Show, Daily, Weekly, Remove };

// The action that `parameter` names, or nullopt when it names none.
std::optional<Action> actionOf(const std::string& parameter) {
    const std::string upper = korlib::upperCase(parameter);
    if (upper == kCommand) return Action::Show;
    if (upper == std::string(kCommand) + ":QUOTIDIEN") return Action::Daily;
    if (upper == std::string(kCommand) + ":HEBDOMADAIRE") return Action::Weekly;
    if (upper == std::string(kCommand) + ":NON") return Action::Remove;
    return std::nullopt;
}

std::string when(const Schedule& schedule) {
    const std::string time = std::to_string(platform::kScheduledHour) + " h " +
                             (platform::kScheduledMinute < 10 ? "0" : "") +
                             std::to_string(platform::kScheduledMinute);
    if (!schedule.frequency) return "à une heure choisie à la main";
    return (*schedule.frequency == Frequency::Daily ? "chaque nuit à " : "chaque lundi à ") + time;
}

std::string described(const Schedule& schedule) {
    return "Nettoyage planifié " + when(schedule) + " (" + schedule.where +
           ") : " + schedule.command;
}

// True when a manual run ever stored its choices, which "/AUTO" takes again.
bool choicesStored(const ScheduleServices& machine) {
    const korlib::Registre settings(machine.settings, machine.process.exeName());
    for (const char* name : {"Unités sélectionnées", "Extensions", "Extensions sélectionnées"}) {
        if (settings.RegistreLit(name)) return true;
    }
    return false;
}

int schedule(Frequency frequency, const ScheduleServices& machine, std::ostream& out,
             std::ostream& errors) {
    if (!choicesStored(machine)) {
        errors << "Vidor : aucun choix enregistré, et /AUTO reprend ceux de la dernière "
                  "utilisation normale. Ouvrez Vidor, choisissez les unités et les extensions, "
                  "fermez la fenêtre, puis planifiez. Rien n'a été planifié.\n";
        return kNotDone;
    }
    const update::ProgramFiles files(machine.process);
    Schedule done;
    std::string notice, error;
    if (!machine.scheduler.schedule(frequency, files.program(), "/AUTO", done, notice, error)) {
        errors << "Vidor : le nettoyage n'a pas pu être planifié : " << error << ".\n";
        return kNotDone;
    }
    out << described(done) << (notice.empty() ? "" : ". " + notice) << "\n";
    return platform::kExitNormal;
}

int remove(const ScheduleServices& machine, std::ostream& out, std::ostream& errors) {
    std::optional<Schedule> removed;
    std::string error;
    if (!machine.scheduler.unschedule(removed, error)) {
        errors << "Vidor : le nettoyage planifié n'a pas pu être supprimé : " << error << ".\n";
        return kNotDone;
    }
    out << (removed ? "Nettoyage planifié supprimé (" + removed->where + ")."
                    : std::string("Aucun nettoyage n'était planifié."))
        << "\n";
    return platform::kExitNormal;
}

int show(const ScheduleServices& machine, std::ostream& out, std::ostream& errors) {
    std::optional<Schedule> found;
    std::string error;
    if (!machine.scheduler.find(found, error)) {
        errors << "Vidor : je ne sais pas ce qui est planifié : " << error << ".\n";
        return kNotDone;
    }
    out << (found ? described(*found) : std::string("Aucun nettoyage n'est planifié.")) << "\n";
    return platform::kExitNormal;
}

}  // namespace

bool scheduleAsked(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return false;
    const std::string upper = korlib::upperCase(arguments.front());
    return upper == kCommand || upper.starts_with(std::string(kCommand) + ":");
}

int runScheduleCommand(const std::vector<std::string>& arguments, const ScheduleServices& machine,
                       std::ostream& out, std::ostream& errors) {
    const std::optional<Action> action = actionOf(arguments.front());
    // The command stands alone: what would follow it has no meaning.
    const std::string* refused = !action                ? &arguments.front()
                                 : arguments.size() > 1 ? &arguments[1]
                                                        : nullptr;
    if (refused) {
        std::string text = parameterError(*refused);
        for (std::size_t at; (at = text.find('\r')) != std::string::npos;) text.erase(at, 1);
        errors << text << "\n";
        return platform::kExitBadParameter;
    }
    switch (*action) {
        case Action::Daily:
            return schedule(Frequency::Daily, machine, out, errors);
        case Action::Weekly:
            return schedule(Frequency::Weekly, machine, out, errors);
        case Action::Remove:
            return remove(machine, out, errors);
        case Action::Show:
            break;
    }
    return show(machine, out, errors);
}

}  // namespace vidor::app
