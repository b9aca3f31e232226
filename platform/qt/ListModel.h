#pragma once

#include <QAbstractListModel>
#include <QFontMetrics>
#include <vector>

#include "platform/controls/ListBox.h"

namespace vidor::platform::qt {

// Shows the lines of a ListBox without copying them. Lines appended one after the other, and
// lines taken off one after the other at one place (a deletion going down its list) once one was
// taken off since the lines were last shown, are announced to the view in one batch, by flush()
// or when anything else about the list changes: the view lays out all its lines again after each
// change it hears of, which a census that lists a hundred thousand files, or their deletion,
// cannot afford per line. A single line taken off (by "Conserver") is announced at once.
class ListModel : public QAbstractListModel {
  public:
    explicit ListModel(ListBox& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The ListBox changed; called by the binding right after the change.
    void listChanged(ListChange change, int index);
    // Announces the appended lines not announced yet.
    void flush();
    // The lines were shown: the next line taken off is announced at once.
    void shown() { removedSinceShown_ = false; }
    bool pending() const { return pending_ > 0 || removed_ > 0; }

    // The view's row of the list's line `line`, and the list's line of the view's row `row` (-1
    // for a line taken off that the view still shows), while changes wait to be announced.
    int viewRow(int line) const {
        return removed_ > 0 && line >= removedAt_ ? line + removed_ : line;
    }
    int listLine(int row) const;

    // The width of the widest line shown, in `metrics`, or a little more; lines taken off still
    // count.
    int widest(const QFontMetrics& metrics);

    // A line as displayed: invalid UTF-8 and control characters become replacement characters.
    static QString displayed(const std::string& text);

  private:
    ListBox& list_;
    int rows_ = 0;
    int pending_ = 0;
    int removedAt_ = 0;  // lines taken off not announced yet: `removed_` rows from this one
    int removed_ = 0;
    bool removedSinceShown_ = false;
    int measured_ = 0;  // lines measured by widest()
    int widest_ = 0;
    std::vector<int> advances_;  // the width of each byte of a line, in the view's font
};

}  // namespace vidor::platform::qt
