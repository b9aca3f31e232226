#include "korlib/Fichiers.h"

namespace vidor::korlib {

namespace {

std::string withoutFinalSeparator(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace

bool RepertoireExiste(platform::FileSystem& files, const std::string& path) {
    auto info = files.info(withoutFinalSeparator(path));
    return info && info->folder;
}

bool FichierExiste(platform::FileSystem& files, const std::string& path) {
    auto info = files.info(path);
    return info && !info->folder;
}

platform::Removal FichierCorbeille(platform::FileSystem& files, const std::string& path) {
    return files.moveToTrash(path);
}

}  // namespace vidor::korlib
