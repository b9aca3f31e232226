#include "census/ExtensionMatch.h"

#include "korlib/Texte.h"

namespace vidor::census {

namespace {

// Upper case of one byte of a name whose previous byte is `before`: ASCII letters, and the
// second byte of the accented Latin letters, as korlib::upperCase raises them.
unsigned char upperByte(unsigned char byte, unsigned char before) {
    if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - 'a' + 'A');
    if (before == 0xC3 && byte >= 0xA0 && byte <= 0xBE && byte != 0xB7) {
        return static_cast<unsigned char>(byte - 0x20);
    }
    return byte;
}

// True when `name` ends with `ending` (already in upper case), ignoring the name's case. The
// ending begins with ".", so a match never starts inside a character.
bool endsWith(std::string_view name, const std::string& ending) {
    if (name.size() < ending.size()) return false;
    const std::size_t start = name.size() - ending.size();
    for (std::size_t i = 0; i < ending.size(); ++i) {
        const auto before = static_cast<unsigned char>(start + i > 0 ? name[start + i - 1] : 0);
        if (upperByte(static_cast<unsigned char>(name[start + i]), before) !=
            static_cast<unsigned char>(ending[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

ExtensionMatch::ExtensionMatch(const platform::ListBox& lExt) {
    for (int i = 0; i < lExt.count(); ++i) {
        if (lExt.selected(i)) endings_.push_back("." + korlib::upperCase(lExt.item(i)));
    }
}

bool ExtensionMatch::matches(std::string_view name) const {
    for (const std::string& ending : endings_) {
        if (endsWith(name, ending)) return true;
    }
    return false;
}

}  // namespace vidor::census
