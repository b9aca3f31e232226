// VIDOR_UNITES: the drive letters given outright, in place of the machine's volumes (tests,
// trials, a machine whose letters are chosen by hand).

#include <cctype>
#include <set>
#include <sstream>

#include "platform/linux/DriveMap.h"

namespace vidor::platform::linux_ {

DriveMap DriveMap::fromUnites(std::string_view text) {
    std::vector<Drive> drives;
    std::set<char> taken;
    std::istringstream in{std::string(text)};
    std::string entry;
    while (std::getline(in, entry, ';')) {
        // L=T:path
        if (entry.size() < 5 || entry[1] != '=' || entry[3] != ':') continue;
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(entry[0])));
        if (letter < 'A' || letter > 'Z' || !std::isdigit(static_cast<unsigned char>(entry[2])))
            continue;
        if (!taken.insert(letter).second) continue;  // the first entry of a letter holds
        drives.push_back({letter, entry[2] - '0', entry.substr(4)});
    }
    return DriveMap(std::move(drives));
}

}  // namespace vidor::platform::linux_
