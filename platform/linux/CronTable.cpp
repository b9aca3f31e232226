#include "platform/linux/CronTable.h"

#include <sstream>
#include <vector>

#include "platform/linux/SystemCommand.h"

namespace vidor::platform::linux_ {

namespace {

// The comment line above the program's entry: how it is found again, and what the user reads.
constexpr const char* kMarker =
    "# Vidor /PLANIFIER : nettoyage automatique (à changer avec cette commande)";
constexpr const char* kWhere = "crontab";

std::vector<std::string> linesOf(const std::string& table) {
    std::vector<std::string> lines;
    std::istringstream in(table);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// `text` as one word for the shell; "%" escaped, since cron makes a newline of it.
std::string shellWord(const std::string& text) {
    std::string word = "'";
    for (const char c : text) {
        if (c == '\'')
            word += "'\\''";
        else if (c == '%')
            word += "\\%";
        else
            word += c;
    }
    return word + "'";
}

std::string timing(Frequency frequency) {
    const std::string time =
        std::to_string(kScheduledMinute) + " " + std::to_string(kScheduledHour);
    return time + (frequency == Frequency::Daily ? " * * *" : " * * 1");
}

}  // namespace

std::string CronTable::entryLine(Frequency frequency, const std::string& program,
                                 const std::string& parameter) {
    return timing(frequency) + " " + shellWord(program) + " " + parameter;
}

std::string CronTable::withEntry(const std::string& table, const std::string& line) {
    return withoutEntry(table) + kMarker + "\n" + line + "\n";
}

std::string CronTable::withoutEntry(const std::string& table) {
    std::string kept;
    const std::vector<std::string> lines = linesOf(table);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == kMarker) {
            ++i;  // the entry itself
            continue;
        }
        kept += lines[i] + "\n";  // cron needs the last line ended too
    }
    return kept;
}

std::optional<std::string> CronTable::entryOf(const std::string& table) {
    const std::vector<std::string> lines = linesOf(table);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] == kMarker) return lines[i + 1];
    }
    return std::nullopt;
}

Schedule CronTable::scheduleOf(const std::string& line) {
    std::istringstream in(line);
    std::string fields[5];
    for (std::string& field : fields) in >> field;
    std::string command;
    std::getline(in >> std::ws, command);
    Schedule schedule{std::nullopt, command, kWhere};
    const std::string when =
        fields[0] + " " + fields[1] + " " + fields[2] + " " + fields[3] + " " + fields[4];
    for (const Frequency frequency : {Frequency::Daily, Frequency::Weekly}) {
        if (when == timing(frequency)) schedule.frequency = frequency;
    }
    return schedule;
}

bool CronTable::schedule(Frequency frequency, const std::string& program,
                         const std::string& parameter, Schedule& done, std::string& error) {
    std::string table;
    if (!read(table, error)) return false;
    const std::string line = entryLine(frequency, program, parameter);
    if (!write(withEntry(table, line), error)) return false;
    done = scheduleOf(line);
    return true;
}

bool CronTable::unschedule(std::optional<Schedule>& removed, std::string& error) {
    std::string table;
    if (!read(table, error)) return false;
    const auto entry = entryOf(table);
    removed.reset();
    if (!entry) return true;
    if (!write(withoutEntry(table), error)) return false;
    removed = scheduleOf(*entry);
    return true;
}

bool CronTable::find(std::optional<Schedule>& found, std::string& error) {
    std::string table;
    if (!read(table, error)) return false;
    const auto entry = entryOf(table);
    found = entry ? std::optional(scheduleOf(*entry)) : std::nullopt;
    return true;
}

bool CronTable::read(std::string& table, std::string& error) {
    const CommandResult listed = runCommand("crontab", {"-l"});
    if (listed.ran && listed.status == 0) {
        table = listed.output;
        return true;
    }
    // A user without a crontab yet has an empty one; without cron at all, there is no entry
    // either (and writing one fails).
    if ((listed.ran && listed.errors.starts_with("no crontab for")) || !listed.started) {
        table.clear();
        return true;
    }
    error = "je ne peux pas lire la crontab (" + reasonOf(listed) + ")";
    return false;
}

bool CronTable::write(const std::string& table, std::string& error) {
    // Nothing left: no crontab rather than an empty one.
    const CommandResult written =
        table.empty() ? runCommand("crontab", {"-r"}) : runCommand("crontab", {"-"}, table);
    if (written.ran && written.status == 0) return true;
    error = "je ne peux pas écrire la crontab (" + reasonOf(written) + ")";
    return false;
}

}  // namespace vidor::platform::linux_
