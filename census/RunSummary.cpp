#include "census/RunSummary.h"

#include <algorithm>
#include <cstdint>

#include "census/TailleTotale.h"

namespace vidor::census {

namespace {

// "1 fichier supprimé", "2 fichiers supprimés".
std::string files(std::uint64_t count, const std::string& participle) {
    const bool plural = count > 1;
    return std::to_string(count) + (plural ? " fichiers " : " fichier ") + participle +
           (plural && !participle.ends_with('s') ? "s" : "");
}

std::string bytes(std::uint64_t count) {
    return TailleTotale::caption(
        static_cast<std::int64_t>(std::min<std::uint64_t>(count, INT64_MAX)));
}

}  // namespace

std::string runSummary(const RunReport& report) {
    const std::uint64_t deleted = report.removedFiles() - report.trashedFiles();
    const std::uint64_t freed = report.removedBytes() - report.trashedBytes();
    // Folders the walk could not list are no files; their paths end with a backslash.
    const auto failed = static_cast<std::uint64_t>(
        std::count_if(report.failures().begin(), report.failures().end(),
                      [](const RunReport::Failure& f) { return !f.path.ends_with('\\'); }));
    std::string text;
    const auto add = [&text](const std::string& part) {
        text += (text.empty() ? "" : ", ") + part;
    };
    if (deleted > 0 || report.trashedFiles() == 0)
        add(files(deleted, "supprimé") + " (" + bytes(freed) + " libérés)");
    if (report.trashedFiles() > 0) {
        add(files(report.trashedFiles(), "mis") + " à la corbeille (" +
            bytes(report.trashedBytes()) + ")");
    }
    if (failed > 0) {
        add(std::to_string(failed) +
            (failed > 1 ? " n'ont pas pu être supprimés" : " n'a pas pu être supprimé"));
    }
    return text + ".";
}

}  // namespace vidor::census
