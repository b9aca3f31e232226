#include "census/FolderWalk.h"

#include "census/EntryGuard.h"
#include "census/RepertoireEfface.h"
#include "korlib/Texte.h"

namespace vidor::census {

namespace {

// A folder is purged for its own name, never for the letters its name ends in: MonTemp and
// Contemp are the user's own folders.
constexpr std::string_view kTemp = "TEMP";
constexpr std::string_view kInternetFiles = "TEMPORARY INTERNET FILES";
// The list keeps its last lines in view.
constexpr int kVisibleLines = 10;

}  // namespace

FolderWalk::FolderWalk(platform::Services& sys, CensusWindow& window, TailleTotale& total,
                       RunReport& report)
    : sys_(sys), window_(window), total_(total), report_(report) {}

void FolderWalk::Nettoyer(std::string rep) {
    if (rep.empty() || rep.back() != '\\') rep += '\\';
    extensions_ = std::make_shared<const ExtensionMatch>(window_.lExt);
    use_ = std::make_shared<const platform::ListingUse>(platform::ListingUse{
        EntryGuard::entered, [extensions = extensions_](const platform::FolderEntry& entry) {
            return !EntryGuard::hidden(entry.name) && entry.kind == platform::EntryKind::File &&
                   extensions->matches(entry.name);
        }});
    rep_ = std::move(rep);
    sys_.files.systemFilesAhead();
    // A stack instead of recursion: however deep the tree, the call stack stays flat.
    std::vector<Level> levels;
    if (auto root = visit(nullptr, {})) levels.push_back(std::move(*root));
    while (!levels.empty()) {
        if (window_.flags.arretDemande) return;
        Level& level = levels.back();
        if (level.next == level.subFolders.size()) {
            levels.pop_back();
            continue;
        }
        const std::string& name = level.subFolders[level.next++];
        rep_.resize(level.length);
        rep_ += name;
        rep_ += '\\';
        if (auto sub = visit(level.folder.get(), name)) levels.push_back(std::move(*sub));
    }
}

std::unique_ptr<platform::Folder> FolderWalk::open(platform::Folder* parent,
                                                   const std::string& name) {
    platform::FolderError error;
    auto folder = parent ? parent->openFolder(name, error) : sys_.files.openFolder(rep_, error);
    if (!folder) folderFailed(rep_, error);
    return folder;
}

void FolderWalk::folderFailed(const std::string& path, const platform::FolderError& error) {
    if (error.silent) return;
    report_.failed(path, error.description);
    // The system's description alone does not tell which folder: the path goes with it.
    sys_.windows.messageBox(path + " : " + error.description, platform::Buttons::Ok,
                            platform::Icon::None, sys_.process.exeName());
}

std::optional<FolderWalk::Level> FolderWalk::visit(platform::Folder* parent,
                                                   const std::string& name) {
    window_.eExec.setCaption(rep_);
    sys_.windows.doEvents();
    Level level;
    level.length = rep_.size();
    level.folder = open(parent, name);
    if (!level.folder) return std::nullopt;
    // The folder's name is looked at once; the options at each file, as they may change at a
    // yield.
    const PurgeName purgeName = parent ? purgeNameOf(name) : PurgeName{};
    platform::FolderEntry entry;
    while (level.folder->next(entry)) {
        if (!EntryGuard::hidden(entry.name)) {
            if (EntryGuard::entered(entry)) {
                level.subFolders.push_back(entry.name);
            } else if (purgeable(purgeName)) {
                purge(*parent, name, *level.folder);
                return std::nullopt;
            } else if (extensions_->matches(entry.name)) {
                list(*level.folder, entry.name);
            }
        }
        sys_.windows.doEvents();
        if (window_.flags.arretDemande) break;
    }
    level.folder->readAhead(level.subFolders, use_);
    return level;
}

FolderWalk::PurgeName FolderWalk::purgeNameOf(const std::string& name) {
    // Only names as long as the longest one are raised: a long name costs nothing.
    if (name.size() > kInternetFiles.size()) return {};
    const std::string upper = korlib::upperCase(name);
    return {upper == kTemp, upper == kInternetFiles};
}

bool FolderWalk::purgeable(PurgeName name) const {
    return (window_.flags.tousTP && name.temp) || (window_.flags.tousIE && name.internetFiles);
}

void FolderWalk::purge(platform::Folder& parent, const std::string& name,
                       platform::Folder& folder) {
    RepertoireEfface(parent, name, window_.flags.versCorbeille, sys_.windows, total_,
                     {&sys_.files, rep_}, &report_,
                     [this](const std::string& path, const platform::FolderError& error) {
                         folderFailed(path, error);
                     });
    // Re-created empty, with the rights (and owner) the purged folder had.
    parent.createFolderLike(name, folder);
}

void FolderWalk::list(platform::Folder& folder, const std::string& name) {
    if (!EntryGuard(&sys_.files).mayTouch(rep_, name)) return;
    platform::ListBox& lDel = window_.lDel;
    lDel.addItem(rep_ + name);
    if (lDel.count() > kVisibleLines) lDel.setTopIndex(lDel.count() - kVisibleLines);
    if (auto size = folder.fileSize(name)) total_.add(*size);
}

}  // namespace vidor::census
