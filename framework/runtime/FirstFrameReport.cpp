#include "framework/runtime/FirstFrameReport.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "framework/core/StartupMarks.h"

namespace hx {

namespace {

// Watches for the first paint of a top-level window, then leaves. The stamp is taken on
// the event loop's next turn: by then the painted frame has been flushed to the window
// system (the flush follows the paint in the same repaint).
class TFirstFrameWatch final : public QObject {
protected:
    bool eventFilter(QObject* target, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && target->isWidgetType() &&
            static_cast<QWidget*>(target)->isWindow()) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                timespec t{};
                clock_gettime(CLOCK_MONOTONIC, &t);
                ForEachStartupMark([](const char* name, long long ns) {
                    std::fprintf(stderr, "startup: %s %lld\n", name, ns);
                });
                std::fprintf(stderr, "first frame: %lld\n",
                             static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec);
                std::fflush(stderr);
                deleteLater();
            });
        }
        return false;
    }
};

} // namespace

void InstallFirstFrameReport()
{
    static bool installed = false;
    const char* wanted = std::getenv("HEXATINT_FIRST_FRAME_REPORT");
    if (installed || !wanted || !*wanted || !qApp)
        return;
    installed = true;
    qApp->installEventFilter(new TFirstFrameWatch);
}

} // namespace hx
