#include "census/FolderWalk.h"

#include "census/RepertoireEfface.h"
#include "korlib/Texte.h"

namespace vidor::census {

namespace {

constexpr std::string_view kTemp = "TEMP\\";
constexpr std::string_view kInternetFiles = "TEMPORARY INTERNET FILES\\";
// The list keeps its last lines in view.
constexpr int kVisibleLines = 10;

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

FolderWalk::FolderWalk(platform::Services& sys, CensusWindow& window, TailleTotale& total)
    : sys_(sys), window_(window), total_(total) {}

void FolderWalk::Nettoyer(std::string rep) {
    if (rep.empty() || rep.back() != '\\') rep += '\\';
    extensions_ = std::make_unique<ExtensionMatch>(window_.lExt);
    std::vector<Level> levels;
    if (auto root = visit(rep, nullptr, {})) levels.push_back(std::move(*root));
    while (!levels.empty()) {
        if (window_.flags.arretDemande) return;
        Level& level = levels.back();
        if (level.next == level.subFolders.size()) {
            levels.pop_back();
            continue;
        }
        const std::string& name = level.subFolders[level.next++];
        if (auto sub = visit(level.rep + name + '\\', level.folder.get(), name)) {
            levels.push_back(std::move(*sub));
        }
    }
}

std::unique_ptr<platform::Folder> FolderWalk::open(const std::string& rep, platform::Folder* parent,
                                                   const std::string& name) {
    platform::FolderError error;
    auto folder = parent ? parent->openFolder(name, error) : sys_.files.openFolder(rep, error);
    if (!folder && !error.silent) {
        sys_.windows.messageBox(error.description, platform::Buttons::Ok, platform::Icon::None,
                                sys_.process.exeName());
    }
    return folder;
}

std::optional<FolderWalk::Level> FolderWalk::visit(std::string rep, platform::Folder* parent,
                                                   const std::string& name) {
    window_.eExec.setCaption(rep);
    sys_.windows.doEvents();
    Level level;
    level.rep = std::move(rep);
    level.folder = open(level.rep, parent, name);
    if (!level.folder) return std::nullopt;
    platform::FolderEntry entry;
    while (level.folder->next(entry)) {
        if (entry.name.front() != '.') {
            if (entry.kind != platform::EntryKind::File) {
                level.subFolders.push_back(entry.name);
            } else if (parent && purgeable(level.rep)) {
                purge(*parent, name, *level.folder);
                return std::nullopt;
            } else if (extensions_->matches(entry.name)) {
                list(level.rep, *level.folder, entry.name);
            }
        }
        sys_.windows.doEvents();
        if (window_.flags.arretDemande) break;
    }
    return level;
}

bool FolderWalk::purgeable(const std::string& rep) const {
    const std::string upper = korlib::upperCase(rep);
    return (window_.flags.tousTP && endsWith(upper, kTemp)) ||
           (window_.flags.tousIE && endsWith(upper, kInternetFiles));
}

void FolderWalk::purge(platform::Folder& parent, const std::string& name, platform::Folder& folder) {
    RepertoireEfface(parent, name, window_.flags.versCorbeille, sys_.windows, total_);
    // Re-created empty, with the rights (and owner) the purged folder had.
    parent.createFolderLike(name, folder);
}

void FolderWalk::list(const std::string& rep, platform::Folder& folder, const std::string& name) {
    platform::ListBox& lDel = window_.lDel;
    lDel.addItem(rep + name);
    if (lDel.count() > kVisibleLines) lDel.setTopIndex(lDel.count() - kVisibleLines);
    if (auto size = folder.fileSize(name)) total_.add(*size);
}

}  // namespace vidor::census
