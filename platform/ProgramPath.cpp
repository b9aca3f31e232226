#include "platform/ProgramPath.h"

#include <algorithm>

namespace vidor::platform {

bool isProgramPath(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return false;
    const char letter = path[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

std::vector<std::string> programPathNames(std::string_view path) {
    std::vector<std::string> names;
    path.remove_prefix(std::min<std::size_t>(2, path.size()));
    while (!path.empty()) {
        const std::size_t end = std::min(path.find('\\'), path.size());
        if (end > 0) names.emplace_back(path.substr(0, end));
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return names;
}

}  // namespace vidor::platform
