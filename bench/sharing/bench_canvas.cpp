// The annotation canvas with 1,000 finished strokes on 1920x1080: random
// walks of 41 points, widths 3 to 16, 70% pen, 20% marker and 10% eraser.
// Prints the time of a full replay and of one mouse move of the next stroke
// with its repaint (medians), and checks that the window still shows
// exactly the full replay.

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <random>
#include <ctime>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QBackingStore>

#include "benchstats.h"
#include "views/annotation/paintwidget.h"

namespace {

constexpr int kStrokes = 1000;
constexpr int kPoints = 41;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void mouse(QWidget &widget, QEvent::Type type, const QPoint &pos)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// CPU time of this thread: on a busy machine wall time also counts the
// time others had the processor.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

QPoint step(std::mt19937 &random, const QPoint &from)
{
    std::uniform_int_distribution<int> delta(-24, 24);
    return QPoint(std::clamp(from.x() + delta(random), 0, kWidth - 1),
                  std::clamp(from.y() + delta(random), 0, kHeight - 1));
}

void chooseTool(PaintWidget &canvas, std::mt19937 &random)
{
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> width(3, 16);
    std::uniform_int_distribution<int> channel(0, 255);
    const int kind = percent(random);
    const QColor color(channel(random), channel(random), channel(random), kind < 70 ? 255 : 80);
    canvas.setPen(QPen(QBrush(color), kind < 90 ? width(random) : 9.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    canvas.setDrawMode(kind < 70   ? PaintWidget::PenMode
                       : kind < 90 ? PaintWidget::MarkerMode
                                   : PaintWidget::EraserMode);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    PaintWidget canvas;
    canvas.resize(kWidth, kHeight);
    canvas.show();
    QCoreApplication::processEvents();
    canvas.m_bDrawEnabled = true;

    std::mt19937 random(17);
    std::uniform_int_distribution<int> x(0, kWidth - 1);
    std::uniform_int_distribution<int> y(0, kHeight - 1);
    for (int i = 0; i < kStrokes; ++i) {
        chooseTool(canvas, random);
        QPoint at(x(random), y(random));
        mouse(canvas, QEvent::MouseButtonPress, at);
        for (int p = 1; p < kPoints; ++p) {
            at = step(random, at);
            mouse(canvas, QEvent::MouseMove, at);
        }
        mouse(canvas, QEvent::MouseButtonRelease, at);
    }
    QCoreApplication::processEvents();

    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> replays;
    std::vector<double> replaysCpu;
    for (int i = 0; i < 5; ++i) {
        image.fill(Qt::transparent);
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = threadCpuMs();
        canvas.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        replaysCpu.push_back(threadCpuMs() - cpuBefore);
        replays.push_back(timer.nsecsElapsed() / 1e6);
    }

    chooseTool(canvas, random);
    QPoint at(kWidth / 2, kHeight / 2);
    mouse(canvas, QEvent::MouseButtonPress, at);
    QCoreApplication::processEvents();
    std::vector<double> moves;
    std::vector<double> movesCpu;
    for (int p = 1; p < kPoints; ++p) {
        at = step(random, at);
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = threadCpuMs();
        mouse(canvas, QEvent::MouseMove, at);
        QCoreApplication::processEvents();
        movesCpu.push_back(threadCpuMs() - cpuBefore);
        moves.push_back(timer.nsecsElapsed() / 1e6);
    }
    mouse(canvas, QEvent::MouseButtonRelease, at);

    // What the window shows is its backing store.
    QPaintDevice *device = canvas.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image) {
        qFatal("the backing store is no image");
    }
    const QImage shown = static_cast<QImage *>(device)->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage replayed = canvas.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Antialiasing at the edge of a repainted area may round a channel of
    // a faint pixel differently from an unclipped replay; anything more is
    // a stroke left out or painted out of order.
    int differing = 0;
    int worst = 0;
    for (int row = 0; row < kHeight; ++row) {
        const QRgb *a = reinterpret_cast<const QRgb *>(shown.constScanLine(row));
        const QRgb *b = reinterpret_cast<const QRgb *>(replayed.constScanLine(row));
        for (int column = 0; column < kWidth; ++column) {
            if (a[column] == b[column]) {
                continue;
            }
            ++differing;
            worst = std::max(
                {worst, std::abs(qRed(a[column]) - qRed(b[column])), std::abs(qGreen(a[column]) - qGreen(b[column])),
                 std::abs(qBlue(a[column]) - qBlue(b[column])), std::abs(qAlpha(a[column]) - qAlpha(b[column]))});
        }
    }
    const bool same = worst <= 1;

    std::printf("%d strokes of %d points on %dx%d\n", kStrokes, kPoints, kWidth, kHeight);
    std::printf("full replay ms (median of %zu): %.1f wall, %.1f CPU\n", replays.size(), median(replays),
                median(replaysCpu));
    std::printf("move + repaint ms (median of %zu): %.2f wall (max %.2f), %.2f CPU\n", moves.size(), median(moves),
                *std::max_element(moves.begin(), moves.end()), median(movesCpu));
    std::printf("window vs full replay: %d pixels differ, by at most %d level(s): %s\n", differing, worst,
                same ? "same picture" : "DIFFERENT");
    return same ? 0 : 1;
}
