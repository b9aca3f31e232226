#include "korlib/Fichiers.h"

#include <vector>

#include "korlib/Texte.h"

namespace vidor::korlib {

namespace {

std::string withoutFinalSeparator(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace

void RepertoireCree(platform::FileSystem& files, const std::string& path) {
    // Iterative, from the innermost missing folder up to the first that exists, then down.
    std::string folder = withoutFinalSeparator(trimSpaces(path));
    std::vector<std::string> missing;
    while (!folder.empty() && !RepertoireExiste(files, folder)) {
        missing.push_back(folder);
        std::size_t last = folder.rfind('\\');
        if (last == std::string::npos) break;
        folder = folder.substr(0, last);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        const bool bareDrive = it->size() == 2 && (*it)[1] == ':';
        if (!bareDrive) files.createFolder(*it);
    }
}

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
