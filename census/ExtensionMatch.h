#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/controls/ListBox.h"

namespace vidor::census {

// The selected extensions of the list, as file name endings: a file matches an extension E when
// its name ends with "." and E, letter case ignored ("A.TMP", "b.tmp" and "c.Tmp" all end in tmp;
// "tmp" and "x.tmp.bak" do not). Extensions are compared literally: "$$$" is no wildcard.
// Matching a name costs the same however many extensions are selected: only the endings that
// begin at one of its dots are looked up.
class ExtensionMatch {
  public:
    explicit ExtensionMatch(const platform::ListBox& lExt);

    bool matches(std::string_view name) const;

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };

    // "." and the extension, in upper case.
    std::unordered_set<std::string, Hash, std::equal_to<>> endings_;
    // Whether an ending of each length is selected, up to the longest.
    std::vector<bool> lengths_;
};

}  // namespace vidor::census
