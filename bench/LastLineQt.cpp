// The list's last line as Qt draws it: a paint of the view's viewport that covers it.

#include <QCoreApplication>
#include <QListView>
#include <QPaintEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "bench/LastLine.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtWindowSystem.h"

namespace vidor::bench {

struct LastLineWatch::Native : QObject {
    Native(const platform::ListBox& list, QListView* view) : list(list), view(view) {
        view->viewport()->installEventFilter(this);
        // Waiting for events wakes at least this often.
        ticks.start(20);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        const int rows = view->model()->rowCount();
        if (rows == 0) return false;
        const QRect last = view->visualRect(view->model()->index(rows - 1, 0));
        if (!static_cast<QPaintEvent*>(event)->region().intersects(last)) return false;
        ++draws;
        if (rows == list.count()) whole = true;
        return false;
    }

    const platform::ListBox& list;
    QListView* view;
    QTimer ticks;
    int draws = 0;
    bool whole = false;
};

LastLineWatch::LastLineWatch(platform::WindowSystem& windows, platform::Window& window,
                             const platform::ListBox& list) {
    auto* qt = dynamic_cast<platform::qt::QtWindowSystem*>(&windows);
    platform::qt::QtForm* form = qt ? qt->formOf(window) : nullptr;
    auto* view = form ? qobject_cast<QListView*>(form->widgetOf(list)) : nullptr;
    if (!view) {
        std::fprintf(stderr, "list_bench: the list is not shown by Qt\n");
        std::exit(1);
    }
    native_ = std::make_unique<Native>(list, view);
}

LastLineWatch::~LastLineWatch() = default;

int LastLineWatch::draws() const {
    return native_->draws;
}

std::optional<Clock::time_point> LastLineWatch::wait(std::chrono::seconds limit) {
    native_->whole = false;
    const auto end = Clock::now() + limit;
    while (!native_->whole && Clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!native_->whole) return std::nullopt;
    return Clock::now();
}

}  // namespace vidor::bench
