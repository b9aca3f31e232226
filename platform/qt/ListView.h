#pragma once

#include <QListView>

#include "platform/controls/ListBox.h"

namespace vidor::platform::qt {

class ListModel;

// Shows a ListBox: its lines all of one size, as wide as the widest line, so that the list
// scrolls sideways to the end of any line. Where the list gives no tool tip of its own, a line
// cut by the list's edges shows itself whole as a tool tip.
class ListView : public QListView {
  public:
    ListView(ListBox& list, QWidget* parent);

    ListModel* listModel() const { return model_; }

  protected:
    bool viewportEvent(QEvent* event) override;

  private:
    bool cut(const QModelIndex& index);

    ListBox& list_;
    ListModel* model_;
};

}  // namespace vidor::platform::qt
