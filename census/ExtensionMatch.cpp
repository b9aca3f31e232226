#include "census/ExtensionMatch.h"

#include "korlib/Texte.h"

namespace vidor::census {

namespace {

// Upper case of one byte of a name whose previous byte is `before`: ASCII letters, and the
// second byte of the accented Latin letters, as korlib::upperCase raises them.
char upperByte(unsigned char byte, unsigned char before) {
    if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 'a' + 'A');
    if (before == 0xC3 && byte >= 0xA0 && byte <= 0xBE && byte != 0xB7) {
        return static_cast<char>(byte - 0x20);
    }
    return static_cast<char>(byte);
}

// The end of `name` from `start` in upper case, into `upper`. The end begins with ".", so it
// never starts inside a character.
void upperEnd(std::string_view name, std::size_t start, std::string& upper) {
    upper.clear();
    for (std::size_t i = start; i < name.size(); ++i) {
        upper += upperByte(static_cast<unsigned char>(name[i]),
                           static_cast<unsigned char>(i > 0 ? name[i - 1] : 0));
    }
}

}  // namespace

ExtensionMatch::ExtensionMatch(const platform::ListBox& lExt) {
    for (int i = 0; i < lExt.count(); ++i) {
        if (!lExt.selected(i)) continue;
        std::string ending = "." + korlib::upperCase(lExt.item(i));
        if (ending.size() >= lengths_.size()) lengths_.resize(ending.size() + 1);
        lengths_[ending.size()] = true;
        endings_.insert(std::move(ending));
    }
}

bool ExtensionMatch::matches(std::string_view name) const {
    // Each dot of the name that an ending of a selected length could start at, from the end.
    const std::size_t longest = lengths_.empty() ? 0 : lengths_.size() - 1;
    const std::size_t stop = name.size() > longest ? name.size() - longest : 0;
    std::string upper;  // an ending of up to 15 bytes is kept without allocating
    for (std::size_t dot = name.size(); dot-- > stop;) {
        if (name[dot] != '.' || !lengths_[name.size() - dot]) continue;
        upperEnd(name, dot, upper);
        if (endings_.contains(std::string_view(upper))) return true;
    }
    return false;
}

}  // namespace vidor::census
