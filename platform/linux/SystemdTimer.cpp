#include "platform/linux/SystemdTimer.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/OwnFile.h"
#include "platform/linux/SystemCommand.h"

namespace vidor::platform::linux_ {

namespace {

std::string calendar(Frequency frequency) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:00", kScheduledHour, kScheduledMinute);
    return (frequency == Frequency::Daily ? "*-*-* " : "Mon *-*-* ") + std::string(time);
}

// `path` as the first word of ExecStart: quoted, with "%" (systemd's specifiers) doubled; "$"
// is taken as it is in that word. Nothing when systemd refuses to start such a path: one that holds
// a quote, a backslash or a control character.
std::optional<std::string> execWord(const std::string& path) {
    std::string word = "\"";
    for (const char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '\\' || c == '"' ||
            c == '\'') {
            return std::nullopt;
        }
        if (c == '%') word += c;
        word += c;
    }
    return word + "\"";
}

// The value of `key` in the unit text `unit`, or the empty text.
std::string valueOf(const std::string& unit, const std::string& key) {
    const std::size_t at = unit.find("\n" + key + "=");
    if (at == std::string::npos) return {};
    const std::size_t start = at + key.size() + 2;
    return unit.substr(start, unit.find('\n', start) - start);
}

std::string userName() {
    const passwd* user = ::getpwuid(::geteuid());
    return user ? user->pw_name : std::to_string(::geteuid());
}

}  // namespace

SystemdTimer SystemdTimer::ofThisUser() {
    if (::geteuid() == 0) return {true, "/etc/systemd/system", "/var/lib/systemd/linger"};
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string base =
        config && *config ? config : std::string(home ? home : "") + "/.config";
    return {false, base + "/systemd/user", "/var/lib/systemd/linger"};
}

SystemdTimer::SystemdTimer(bool system, std::string unitFolder, std::string lingerFolder)
    : system_(system), unitFolder_(std::move(unitFolder)), lingerFolder_(std::move(lingerFolder)) {}

std::string SystemdTimer::timerName() {
    return "vidor.timer";
}

std::string SystemdTimer::serviceName() {
    return "vidor.service";
}

std::string SystemdTimer::serviceUnit(const std::string& program, const std::string& parameter) {
    const auto word = execWord(program);
    if (!word) return {};
    return "# Écrit par « Vidor /PLANIFIER » : à changer avec cette commande.\n"
           "[Unit]\n"
           "Description=Vidor : suppression des fichiers temporaires\n"
           "\n"
           "[Service]\n"
           "Type=oneshot\n"
           "ExecStart=" +
           *word + " " + parameter + "\n";
}

std::string SystemdTimer::timerUnit(Frequency frequency) {
    // Persistent: a run missed while the machine was off is made at its next start; the delay
    // keeps the machines of a network from all starting at once.
    return "# Écrit par « Vidor /PLANIFIER » : à changer avec cette commande.\n"
           "[Unit]\n"
           "Description=Vidor : nettoyage planifié\n"
           "\n"
           "[Timer]\n"
           "OnCalendar=" +
           calendar(frequency) +
           "\n"
           "Persistent=true\n"
           "RandomizedDelaySec=10min\n"
           "\n"
           "[Install]\n"
           "WantedBy=timers.target\n";
}

bool SystemdTimer::answers() const {
    std::string unused;
    return systemctl({"show", "--property=Version"}, unused);
}

bool SystemdTimer::schedule(Frequency frequency, const std::string& program,
                            const std::string& parameter, Schedule& done, std::string& notice,
                            std::string& error) {
    const std::string service = serviceUnit(program, parameter);
    if (service.empty()) {
        error =
            "systemd ne lance pas un programme dont le chemin contient une apostrophe, un "
            "guillemet, une barre oblique inverse ou un caractère de contrôle (\"" +
            program + "\")";
        return false;
    }
    if (!writeOwnFile(unitFolder_ + "/" + serviceName(), service) ||
        !writeOwnFile(unitFolder_ + "/" + timerName(), timerUnit(frequency))) {
        error = "je ne peux pas écrire dans le dossier \"" + unitFolder_ + "\"";
        return false;
    }
    // Restarted, so that a timer already running takes its new time.
    if (!systemctl({"daemon-reload"}, error) || !systemctl({"enable", timerName()}, error) ||
        !systemctl({"restart", timerName()}, error)) {
        return false;
    }
    std::optional<Schedule> found;
    if (!find(found, error) || !found) return false;
    done = *found;
    notice = lingerNotice();
    return true;
}

bool SystemdTimer::unschedule(std::optional<Schedule>& removed, std::string& error) {
    if (!find(removed, error) || !removed) return error.empty();
    if (!systemctl({"disable", "--now", timerName()}, error)) return false;
    std::error_code ignored;
    std::filesystem::remove(unitFolder_ + "/" + timerName(), ignored);
    std::filesystem::remove(unitFolder_ + "/" + serviceName(), ignored);
    return systemctl({"daemon-reload"}, error);
}

bool SystemdTimer::find(std::optional<Schedule>& found, std::string& error) const {
    found.reset();
    const auto timer = readOwnFile(unitFolder_ + "/" + timerName());
    if (!timer) return true;
    const std::string when = valueOf(*timer, "OnCalendar");
    Schedule schedule{std::nullopt, {}, where()};
    for (const Frequency frequency : {Frequency::Daily, Frequency::Weekly}) {
        if (when == calendar(frequency)) schedule.frequency = frequency;
    }
    const auto service = readOwnFile(unitFolder_ + "/" + serviceName());
    if (!service) {
        error = "le minuteur \"" + unitFolder_ + "/" + timerName() + "\" n'a pas de service";
        return false;
    }
    schedule.command = valueOf(*service, "ExecStart");
    found = schedule;
    return true;
}

bool SystemdTimer::systemctl(std::vector<std::string> arguments, std::string& error) const {
    if (!system_) arguments.insert(arguments.begin(), "--user");
    const CommandResult result = runCommand("systemctl", arguments);
    if (result.ran && result.status == 0) return true;
    error = "systemctl " + arguments[system_ ? 0 : 1] + " a échoué (" + reasonOf(result) + ")";
    return false;
}

std::string SystemdTimer::where() const {
    return std::string(system_ ? "minuteur systemd du système " : "minuteur systemd ") +
           timerName();
}

std::string SystemdTimer::lingerNotice() const {
    if (system_ || std::filesystem::exists(lingerFolder_ + "/" + userName())) return {};
    return "Pour qu'il ait lieu aussi quand vous n'avez pas de session ouverte, tapez : "
           "loginctl enable-linger " +
           userName();
}

}  // namespace vidor::platform::linux_
