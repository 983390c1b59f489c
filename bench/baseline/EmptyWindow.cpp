// The baseline of the start-up and memory measurements: the least a toolkit window of the
// main window's size costs, with none of our framework in it. A fixed-size tool window with
// a white client area, 448 x 228, titled "Hexatint91 baseline". With
// HEXATINT_FIRST_FRAME_REPORT set it reports its first frame exactly as the tool does
// (framework/runtime/FirstFrameReport.cpp): the stamp is taken on the event loop's turn after the
// first paint of the window.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class TEmptyWindow final : public QWidget {
public:
    TEmptyWindow()
    {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        setWindowTitle("Hexatint91 baseline");
        setFixedSize(448, 228);
        move(20, 20);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Qt::white);
        if (FReported || !std::getenv("HEXATINT_FIRST_FRAME_REPORT"))
            return;
        FReported = true;
        QTimer::singleShot(0, this, [] {
            timespec t{};
            clock_gettime(CLOCK_MONOTONIC, &t);
            std::fprintf(stderr, "first frame: %lld\n", static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec);
            std::fflush(stderr);
        });
    }

private:
    bool FReported = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TEmptyWindow window;
    window.show();
    return app.exec();
}
