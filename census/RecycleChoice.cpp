#include "census/RecycleChoice.h"

namespace vidor::census {

void applyRecycleChoice(const platform::CheckBox& from, platform::CheckBox& mirror,
                        platform::Button& bEffacer, RunFlags& flags) {
    flags.versCorbeille = from.value() == 1;
    // Setting the mirror runs its own handler, which finds this box already in the same state.
    mirror.setValue(flags.versCorbeille ? 1 : 0);
    bEffacer.setCaption(flags.versCorbeille ? kTrashCaption : kDeleteCaption);
}

}  // namespace vidor::census
