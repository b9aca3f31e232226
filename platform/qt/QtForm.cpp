#include "platform/qt/QtForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/TextBox.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/ListView.h"
#include "platform/qt/QtWindowSystem.h"

namespace vidor::platform::qt {

namespace {

// Milliseconds beyond which showing the lists is spaced out, for lists of at least so many lines:
// a short list is always shown at once, however busy the machine that made it slow.
constexpr qint64 kSlowShow = 4;
constexpr int kLongList = 10000;

// The top-level widget: closing it is the window's closing, which its handler decides.
class FormWidget : public QWidget {
  public:
    FormWidget(Window& window, QtWindowSystem& system) : window_(window), system_(system) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        system_.guard([this] { window_.close(); });
    }

  private:
    Window& window_;
    QtWindowSystem& system_;
};

QString text(const std::string& utf8) {
    // Line breaks are written CR LF in the program's texts.
    return QString::fromStdString(utf8).replace("\r\n", "\n");
}

void setBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

QColor colorOf(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace

QtForm::QtForm(Window& window, QtWindowSystem& system, const TwipScale& scale)
    : window_(window), system_(system), scale_(scale) {
    top_ = new FormWidget(window, system);
    top_->setAttribute(Qt::WA_DeleteOnClose, false);
    window.setObserver(this);
    for (Control* child : window.children()) build(*child, top_);
    stack(window);
    for (Property property :
         {Property::Caption, Property::Geometry, Property::Pointer, Property::Default}) {
        applyWindow(property);
    }
    setTabOrder();
    connect(new QShortcut(QKeySequence(Qt::Key_Return), top_), &QShortcut::activated, this,
            [this] { pressKey(false); });
    connect(new QShortcut(QKeySequence(Qt::Key_Enter), top_), &QShortcut::activated, this,
            [this] { pressKey(false); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), top_), &QShortcut::activated, this,
            [this] { pressKey(true); });
}

QtForm::~QtForm() {
    window_.setObserver(nullptr);
    for (auto& [control, widget] : widgets_) const_cast<Control*>(control)->setObserver(nullptr);
    delete top_;
}

QWidget* QtForm::widgetOf(const Control& control) const {
    if (&control == &window_) return top_;
    auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

QWidget* QtForm::build(Control& control, QWidget* parent) {
    QWidget* widget = buildWidget(control, parent);
    widgets_[&control] = widget;
    control.setObserver(this);
    for (Control* child : control.children()) build(*child, widget);
    stack(control);
    for (Property property : {Property::Geometry, Property::Enabled, Property::Visible}) {
        applyControl(control, widget, property);
    }
    if (dynamic_cast<ListBox*>(&control)) applyControl(control, widget, Property::Selection);
    return widget;
}

QWidget* QtForm::buildWidget(Control& control, QWidget* parent) {
    if (auto* button = dynamic_cast<Button*>(&control)) {
        auto* push = new QPushButton(text(button->caption()), parent);
        setBold(push, button->bold());
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this,
                [this, button] { system_.guard([button] { button->press(); }); });
        if (button->onMouseMove) {
            push->setMouseTracking(true);
            push->installEventFilter(this);
            hovered_[push] = button;
        }
        return push;
    }
    if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        auto* check = new QCheckBox(text(box->caption()), parent);
        check->setChecked(box->value() == 1);
        connect(check, &QCheckBox::clicked, this, [this, box](bool checked) {
            system_.guard([box, checked] { box->setValue(checked ? 1 : 0); });
        });
        return check;
    }
    if (auto* label = dynamic_cast<Label*>(&control)) {
        auto* shown = new QLabel(text(label->caption()), parent);
        shown->setWordWrap(true);
        shown->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setBold(shown, label->bold());
        applyControl(control, shown, Property::ForeColor);
        return shown;
    }
    if (auto* list = dynamic_cast<ListBox*>(&control)) {
        auto* view = new ListView(*list, parent);
        connectList(*list, view);
        return view;
    }
    if (auto* box = dynamic_cast<TextBox*>(&control)) {
        auto* edit = new QPlainTextEdit(text(box->text()), parent);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setReadOnly(box->locked());
        edit->setTabChangesFocus(true);
        return edit;
    }
    auto* panel = dynamic_cast<Panel*>(&control);
    QWidget* surface = nullptr;
    if (panel && panel->kind() == Panel::Kind::Frame) {
        surface = new QGroupBox(text(panel->caption()), parent);
    } else {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(QFrame::NoFrame);
        surface = frame;
    }
    if (panel && panel->onMouseMove) {
        surface->setMouseTracking(true);
        surface->installEventFilter(this);
        hovered_[surface] = panel;
    }
    return surface;
}

void QtForm::connectList(ListBox& list, ListView* view) {
    models_[&list] = view->listModel();
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, &list, view](const QItemSelection& selected, const QItemSelection& deselected) {
                if (syncing_) return;
                system_.guard([&] {
                    if (!list.multiple()) {
                        // The program's selected line is the highlighted one, or none at all:
                        // "Conserver" must never take off a line the user no longer sees selected.
                        const QModelIndexList rows = view->selectionModel()->selectedIndexes();
                        list.setListIndex(rows.isEmpty() ? -1 : rows.front().row());
                        return;
                    }
                    for (const QModelIndex& index : deselected.indexes())
                        list.setSelected(index.row(), false);
                    for (const QModelIndex& index : selected.indexes())
                        list.setSelected(index.row(), true);
                });
            });
    connect(view, &QListView::doubleClicked, this,
            [this, &list] { system_.guard([&list] { list.doubleClick(); }); });
}

void QtForm::syncSelection(ListBox& list) {
    auto* view = static_cast<QListView*>(widgetOf(list));
    ListModel* model = models_.at(&list);
    model->flush();
    if (!view) return;
    syncing_ = true;
    QItemSelectionModel* selection = view->selectionModel();
    if (list.multiple()) {
        QItemSelection wanted;
        for (int row = 0; row < list.count(); ++row) {
            if (list.selected(row)) wanted.select(model->index(row), model->index(row));
        }
        selection->select(wanted, QItemSelectionModel::ClearAndSelect);
    } else if (list.listIndex() >= 0) {
        const QModelIndex index = model->index(list.listIndex());
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        view->scrollTo(index);
    } else {
        selection->clearSelection();
    }
    syncing_ = false;
}

void QtForm::changed(Control& control, Property property) {
    if (&control == &window_) {
        applyWindow(property);
        return;
    }
    if (QWidget* widget = widgetOf(control)) applyControl(control, widget, property);
}

void QtForm::listChanged(ListBox& list, ListChange change, int index) {
    auto it = models_.find(&list);
    if (it == models_.end()) return;
    syncing_ = true;
    it->second->listChanged(change, index);
    syncing_ = false;
    if (it->second->pending()) queueShowLists();
}

void QtForm::queueShowLists(qint64 delay) {
    if (showQueued_) return;
    showQueued_ = true;
    QTimer::singleShot(delay, this, [this] {
        showQueued_ = false;
        showLists();
    });
}

void QtForm::showLists() {
    // Laying out a list of a hundred thousand lines takes milliseconds: it is given at most a
    // tenth of the time, so that it never slows a census much. Shorter lists are shown at once.
    const qint64 wait = 10 * showCost_ - sinceShown_.elapsed();
    if (showCost_ >= kSlowShow && longestShown_ >= kLongList && wait > 0) {
        queueShowLists(wait);
        return;
    }
    QElapsedTimer cost;
    cost.start();
    longestShown_ = 0;
    for (auto& [control, model] : models_) {
        if (!model->pending() && !topMoved_.contains(control)) continue;
        model->flush();
        auto* view = static_cast<QListView*>(widgetOf(*control));
        // Laid out now rather than later, so that the view scrolls to lines it knows of and is
        // drawn by this very turn of the event loop.
        view->doItemsLayout();
        longestShown_ = std::max(longestShown_, model->rowCount());
        if (topMoved_.erase(control)) {
            const int top = static_cast<const ListBox*>(control)->topIndex();
            view->scrollTo(model->index(top), QAbstractItemView::PositionAtTop);
        }
    }
    showCost_ = cost.elapsed();
    sinceShown_.start();
}

void QtForm::applyWindow(Property property) {
    switch (property) {
        case Property::Caption:
            top_->setWindowTitle(text(window_.caption()));
            break;
        case Property::Geometry:
            top_->resize(scale_.pixels(window_.innerWidth()), scale_.pixels(window_.innerHeight()));
            top_->move(scale_.pixels(window_.place().left), scale_.pixels(window_.place().top));
            break;
        case Property::Visible:
            if (window_.visible()) {
                top_->show();
            } else {
                top_->hide();
                if (onHidden) onHidden();
            }
            break;
        case Property::Pointer:
            if (window_.mousePointer() == kPointerHourglass)
                top_->setCursor(Qt::WaitCursor);
            else
                top_->unsetCursor();
            break;
        case Property::Default:
            for (auto& [control, widget] : widgets_) {
                if (auto* push = qobject_cast<QPushButton*>(widget)) {
                    push->setDefault(control == window_.defaultButton());
                }
            }
            break;
        default:
            break;
    }
}

void QtForm::applyControl(Control& control, QWidget* widget, Property property) {
    switch (property) {
        case Property::Geometry:
            widget->setGeometry(scale_.rect(control.place()));
            break;
        case Property::Visible:
            widget->setVisible(control.visible());
            break;
        case Property::Enabled:
            widget->setEnabled(control.enabled());
            break;
        case Property::Caption:
            if (auto* button = dynamic_cast<Button*>(&control)) {
                static_cast<QPushButton*>(widget)->setText(text(button->caption()));
            } else if (auto* label = dynamic_cast<Label*>(&control)) {
                static_cast<QLabel*>(widget)->setText(text(label->caption()));
            }
            break;
        case Property::Value: {
            QSignalBlocker quiet(widget);
            static_cast<QCheckBox*>(widget)->setChecked(static_cast<CheckBox&>(control).value() ==
                                                        1);
            break;
        }
        case Property::Text:
            static_cast<QPlainTextEdit*>(widget)->setPlainText(
                text(static_cast<TextBox&>(control).text()));
            break;
        case Property::ForeColor: {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText,
                             colorOf(static_cast<Label&>(control).foreColor()));
            widget->setPalette(palette);
            break;
        }
        case Property::Selection:
            syncSelection(static_cast<ListBox&>(control));
            break;
        case Property::TopIndex:
            topMoved_.insert(&static_cast<ListBox&>(control));
            queueShowLists();
            break;
        default:
            break;
    }
}

void QtForm::stack(const Control& container) {
    // Controls that overlap are drawn, and take the click, in the order the window was designed
    // for: labels, drawn on the surface itself, under every other control; the others by tab
    // index, a later one over an earlier one (the small recycle box over "Effacer").
    std::vector<Control*> order = container.children();
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        const bool aLabel = dynamic_cast<const Label*>(a) != nullptr;
        const bool bLabel = dynamic_cast<const Label*>(b) != nullptr;
        if (aLabel != bLabel) return aLabel;
        return a->tabIndex() < b->tabIndex();
    });
    for (Control* control : order) widgetOf(*control)->raise();
}

void QtForm::setTabOrder() {
    std::vector<std::pair<int, QWidget*>> order;
    for (auto& [control, widget] : widgets_) {
        if (widget->focusPolicy() != Qt::NoFocus) order.emplace_back(control->tabIndex(), widget);
    }
    std::sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void QtForm::pressKey(bool cancel) {
    if (!cancel) {
        // Enter on a button presses that button, as everywhere else.
        if (auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget())) {
            if (focused->window() == top_) {
                focused->click();
                return;
            }
        }
    }
    Button* button = cancel ? window_.cancelButton() : window_.defaultButton();
    if (!button) return;
    QWidget* widget = widgetOf(*button);
    if (widget && widget->isVisible() && widget->isEnabled())
        system_.guard([button] { button->press(); });
}

bool QtForm::eventFilter(QObject* watched, QEvent* event) {
    auto it = hovered_.find(watched);
    if (event->type() == QEvent::MouseMove && it != hovered_.end()) {
        Control* control = it->second;
        // A move over a control that the control leaves unhandled comes on to the panel that
        // holds it; the panel's handler is for its own surface only.
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (auto* panel = dynamic_cast<Panel*>(control)) {
            if (!static_cast<QWidget*>(watched)->childAt(at))
                system_.guard([panel] { panel->onMouseMove(); });
        } else {
            system_.guard([control] { static_cast<Button*>(control)->onMouseMove(); });
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vidor::platform::qt
