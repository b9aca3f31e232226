#pragma once

#include "census/RunFlags.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"

namespace vidor::census {

inline constexpr const char* kTrashCaption = "Corbeille  ";
inline constexpr const char* kDeleteCaption = "Effacer  ";

// Applies the state of the recycle-bin box `from`: sets versCorbeille, gives the other box
// `mirror` the same state, and names the delete button after what it will do.
void applyRecycleChoice(const platform::CheckBox& from, platform::CheckBox& mirror,
                        platform::Button& bEffacer, RunFlags& flags);

}  // namespace vidor::census
