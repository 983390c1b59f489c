// The baseline of the start-up and memory measurements: the least a toolkit window of the
// main window's size costs, with none of our framework in it. With the argument "captions"
// it also draws the 91 web codes, unsmoothed in the face the tool's captions resolve to:
// the least the toolkit spends to put that text on the screen (fonts found, loaded, shaped
// and drawn), which the tool cannot go below either. A fixed-size tool window with
// a white client area, 448 x 228, titled "Hexatint91 baseline". With
// HEXATINT_FIRST_FRAME_REPORT set it reports its first frame exactly as the tool does
// (framework/runtime/FirstFrameReport.cpp): the stamp is taken on the event loop's turn after the
// first paint of the window. Its start-up marks are the tool's first two: the entry and the
// toolkit made. With the argument "hover" it follows the pointer over the same 40 x 20 cells
// and fills the one under it green, repainting only the cells it leaves and enters: the
// least a window spends to answer each pointer move, the floor of the sweep measurement.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <cstring>

#include <QApplication>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

long long Now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

long long gMainNs = 0, gToolkitNs = 0;
bool gCaptions = false;
bool gHover = false;

constexpr int kCellW = 40, kCellH = 20, kColumns = 11, kCells = 91;

QRect CellRect(int cell)
{
    return QRect(4 + kCellW * (cell % kColumns), 4 + kCellH * (cell / kColumns), kCellW, kCellH);
}

// The cell under p; -1 for none.
int CellAt(QPoint p)
{
    for (int cell = 0; cell < kCells; ++cell)
        if (CellRect(cell).contains(p))
            return cell;
    return -1;
}

// The 91 web colours with a channel at 255, as "#rrggbb", in 11 columns of 40 x 20 cells.
void DrawCaptions(QPainter& painter)
{
    QFont face;
    face.setFamilies({"Konatu", "IPAPGothic", "VL PGothic", "Noto Sans CJK JP", "DejaVu Sans"});
    face.setPixelSize(11);
    face.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    painter.setFont(face);
    painter.setPen(Qt::black);
    int n = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                if (r != 5 && g != 5 && b != 5)
                    continue;
                char code[8];
                std::snprintf(code, sizeof code, "#%02x%02x%02x", 51 * r, 51 * g, 51 * b);
                painter.drawText(4 + 40 * (n % 11), 16 + 20 * (n / 11), QString::fromLatin1(code));
                ++n;
            }
}

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
        setMouseTracking(gHover);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (FHovered >= 0)
            painter.fillRect(CellRect(FHovered), Qt::green);
        if (gCaptions)
            DrawCaptions(painter);
        if (FReported || !std::getenv("HEXATINT_FIRST_FRAME_REPORT"))
            return;
        FReported = true;
        QTimer::singleShot(0, this, [] {
            const long long now = Now();
            std::fprintf(stderr, "startup: main %lld\nstartup: toolkit %lld\n", gMainNs, gToolkitNs);
            std::fprintf(stderr, "first frame: %lld\n", now);
            std::fflush(stderr);
        });
    }

    void mouseMoveEvent(QMouseEvent* e) override
    {
        const int cell = CellAt(e->position().toPoint());
        if (cell == FHovered)
            return;
        if (FHovered >= 0)
            update(CellRect(FHovered));
        FHovered = cell;
        if (cell >= 0)
            update(CellRect(cell));
    }

private:
    bool FReported = false;
    int FHovered = -1;
};

} // namespace

int main(int argc, char** argv)
{
    gMainNs = Now();
    gCaptions = argc > 1 && std::strcmp(argv[1], "captions") == 0;
    gHover = argc > 1 && std::strcmp(argv[1], "hover") == 0;
    QApplication app(argc, argv);
    gToolkitNs = Now();
    TEmptyWindow window;
    window.show();
    return app.exec();
}
