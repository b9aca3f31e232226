#include "census/DeletionList.h"

namespace vidor::census {

DeletionList::DeletionList(platform::FileSystem& files, CensusWindow& window, TailleTotale& total)
    : files_(files), window_(window), total_(total) {}

void DeletionList::lDel_Click() {
    if (window_.lDel.listIndex() >= 0) window_.bConserver.setEnabled(true);
}

void DeletionList::lDel_DblClick() {
    window_.bConserver.press();
}

void DeletionList::bConserver_Click() {
    platform::ListBox& lDel = window_.lDel;
    const int line = lDel.listIndex();
    if (line < 0) return;  // the deletion has just removed the selected line
    // The file's size now, which may differ from the size counted by the census.
    if (auto info = files_.info(lDel.item(line))) total_.subtract(info->size);
    lDel.removeItem(line);
    window_.bConserver.setEnabled(false);
    if (lDel.count() == 0) {
        window_.bAnn.press();
        return;
    }
    // Selecting the next line enables "Conserver" again, so that presses follow each other.
    lDel.setListIndex(line < lDel.count() ? line : lDel.count() - 1);
}

}  // namespace vidor::census
