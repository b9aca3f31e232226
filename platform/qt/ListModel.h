#pragma once

#include <QAbstractListModel>
#include <QFontMetrics>
#include <vector>

#include "platform/controls/ListBox.h"

namespace vidor::platform::qt {

// Shows the lines of a ListBox without copying them. Lines appended one after the other are
// announced to the view in one batch, by flush() or when anything else about the list changes,
// so that a census that lists a hundred thousand files stays fast.
class ListModel : public QAbstractListModel {
  public:
    explicit ListModel(ListBox& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The ListBox changed; called by the binding right after the change.
    void listChanged(ListChange change, int index);
    // Announces the appended lines not announced yet.
    void flush();
    bool pending() const { return pending_ > 0; }

    // The width of the widest line shown, in `metrics`, or a little more; lines taken off still
    // count.
    int widest(const QFontMetrics& metrics);

    // A line as displayed: invalid UTF-8 and control characters become replacement characters.
    static QString displayed(const std::string& text);

  private:
    ListBox& list_;
    int rows_ = 0;
    int pending_ = 0;
    int measured_ = 0;  // lines measured by widest()
    int widest_ = 0;
    std::vector<int> advances_;  // the width of each byte of a line, in the view's font
};

}  // namespace vidor::platform::qt
