#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/ListBox.h"

namespace vidor::census {

// The selected extensions of the list, as file name endings: a file matches an extension E when
// its name ends with "." and E, letter case ignored ("A.TMP", "b.tmp" and "c.Tmp" all end in tmp;
// "tmp" and "x.tmp.bak" do not). Extensions are compared literally: "$$$" is no wildcard.
class ExtensionMatch {
  public:
    explicit ExtensionMatch(const platform::ListBox& lExt);

    bool matches(std::string_view name) const;

  private:
    std::vector<std::string> endings_;  // "." and the extension, in upper case
};

}  // namespace vidor::census
