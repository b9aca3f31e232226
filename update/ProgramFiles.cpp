#include "update/ProgramFiles.h"

namespace vidor::update {

ProgramFiles::ProgramFiles(platform::Process& process)
    : folder_(process.exeFolder()),
      baseName_(process.exeName()),
      suffix_(process.programSuffix()),
      separator_(process.separator()) {}

std::string ProgramFiles::withSeparator(std::string folder) const {
    if (folder.empty() || folder.back() != separator_) folder += separator_;
    return folder;
}

std::string ProgramFiles::program() const {
    return withSeparator(folder_) + baseName_ + suffix_;
}

std::string ProgramFiles::updaterName() const {
    return "Renovex" + suffix_;
}

std::string ProgramFiles::updater() const {
    return folder_ + separator_ + updaterName();
}

std::string ProgramFiles::marker() const {
    return withSeparator(folder_) + baseName_ + ".vbp";
}

std::string ProgramFiles::copyIn(const std::string& updateFolder) const {
    return updateFolder + baseName_ + suffix_;
}

}  // namespace vidor::update
