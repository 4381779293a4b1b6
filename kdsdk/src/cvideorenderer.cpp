#include "cvideorenderer.h"

#include <algorithm>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace kd {
namespace sdk {

namespace {

constexpr int kFrameIntervalMs = 100;

bool canPaintWidgets()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

} // namespace

// A child widget laid over the client's video window, repainted at the
// stream's frame rate.
class CVideoSurface : public QWidget
{
public:
    CVideoSurface(QWidget *target, CVideoRenderer::Stream stream, CVideoRenderer *renderer)
        : QWidget(target), m_stream(stream), m_renderer(renderer)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(target->rect());
        target->installEventFilter(this);
        m_timer.setInterval(kFrameIntervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            ++m_frame;
            update();
        });
        // Ticks only while on screen: showing starts it.
        show();
        raise();
    }

    ~CVideoSurface() override
    {
        if (m_renderer) {
            m_renderer->surfaceGone(m_stream, this);
        }
    }

    CVideoRenderer::Stream stream() const { return m_stream; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parentWidget() && event->type() == QEvent::Resize) {
            setGeometry(parentWidget()->rect());
        }
        return false;
    }

    // A window that is not shown (the call window before and between
    // calls) has nothing to repaint: no ticking wakes the program for it.
    void showEvent(QShowEvent *) override { m_timer.start(); }
    void hideEvent(QHideEvent *) override { m_timer.stop(); }

    void paintEvent(QPaintEvent *) override
    {
        QElapsedTimer timer;
        timer.start();
        int tiles = 1;
        {
            QPainter painter(this);
            tiles = paintFrame(painter);
        }
        if (m_renderer) {
            m_renderer->countFrame(m_stream, quint64(timer.nsecsElapsed()), tiles);
        }
    }

private:
    // Paints one frame of the stream; the number of pictures it holds.
    int paintFrame(QPainter &painter)
    {
        const CVideoScene scene = m_renderer ? m_renderer->scene() : CVideoScene();
        switch (m_stream) {
        case CVideoRenderer::LocalVideo:
            paintLocal(painter, scene);
            break;
        case CVideoRenderer::RemoteVideo:
            paintRemote(painter, scene);
            return scene.participants.size();
        case CVideoRenderer::RemoteContent:
            paintPattern(painter, QStringLiteral("Content: %1").arg(scene.contentSender), QColor(30, 60, 110));
            break;
        case CVideoRenderer::LocalContent:
            if (scene.localContentFrame.isNull()) {
                paintPattern(painter, QStringLiteral("Content: %1").arg(scene.localName), QColor(40, 90, 60));
            } else {
                painter.fillRect(rect(), Qt::black);
                const QImage frame = scene.localContentFrame.scaled(size(), Qt::KeepAspectRatio);
                painter.drawImage((width() - frame.width()) / 2, (height() - frame.height()) / 2, frame);
            }
            break;
        case CVideoRenderer::StreamCount:
            break;
        }
        return 1;
    }

    void paintLocal(QPainter &painter, const CVideoScene &scene)
    {
        if (!scene.cameraOn) {
            painter.fillRect(rect(), QColor(20, 20, 20));
            painter.setPen(Qt::lightGray);
            painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Camera off"));
            return;
        }
        const QString caption = scene.localName + QStringLiteral(" · ") + scene.cameraName + QLatin1Char(' ') +
                                QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz"));
        if (!scene.cameraFrame.isNull()) {
            painter.fillRect(rect(), Qt::black);
            const QImage frame = scene.cameraFrame.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
            painter.drawImage((width() - frame.width()) / 2, (height() - frame.height()) / 2, frame);
            paintCaption(painter, caption);
            return;
        }
        static const QColor bars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue};
        const int count = int(sizeof(bars) / sizeof(bars[0]));
        // Each camera of the list starts the bars at another colour, so a
        // picture tells which camera it comes from.
        const int shift = std::max(0, scene.cameraIndex);
        for (int i = 0; i < count; ++i) {
            const int left = width() * i / count;
            painter.fillRect(QRect(left, 0, width() * (i + 1) / count - left, height()), bars[(i + shift) % count]);
        }
        // A moving marker shows the picture is live.
        const int marker = qMax(8, height() / 8);
        const int span = qMax(1, width() - marker);
        painter.setBrush(Qt::black);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(int(m_frame * 7) % span, height() - marker - 4, marker, marker);
        paintCaption(painter, caption);
    }

    void paintRemote(QPainter &painter, const CVideoScene &scene)
    {
        painter.fillRect(rect(), QColor(25, 25, 35));
        if (scene.participants.isEmpty()) {
            painter.setPen(Qt::lightGray);
            painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Waiting for participants"));
            return;
        }
        const int count = scene.participants.size();
        int columns = 1;
        while (columns * columns < count) {
            ++columns;
        }
        const int rows = (count + columns - 1) / columns;
        for (int i = 0; i < count; ++i) {
            const QRect cell(width() * (i % columns) / columns, height() * (i / columns) / rows, width() / columns,
                             height() / rows);
            const QRect inner = cell.adjusted(2, 2, -2, -2);
            painter.fillRect(inner, QColor::fromHsv((i * 47 + int(m_frame)) % 360, 90, 120));
            painter.setPen(Qt::white);
            painter.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, scene.participants.at(i));
        }
    }

    void paintPattern(QPainter &painter, const QString &caption, const QColor &base)
    {
        painter.fillRect(rect(), base);
        painter.setPen(base.lighter(160));
        const int step = 24;
        const int shift = int(m_frame % step);
        for (int x = -height() + shift; x < width(); x += step) {
            painter.drawLine(x, height(), x + height(), 0);
        }
        paintCaption(painter, caption);
    }

    void paintCaption(QPainter &painter, const QString &caption)
    {
        const QFontMetrics metrics(painter.font());
        QRect box = metrics.boundingRect(caption).adjusted(-6, -3, 6, 3);
        box.moveTopLeft(QPoint(6, 6));
        painter.fillRect(box, QColor(0, 0, 0, 170));
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, caption);
    }

    CVideoRenderer::Stream m_stream;
    QPointer<CVideoRenderer> m_renderer;
    QTimer m_timer{this};
    quint64 m_frame = 0;
};

CVideoRenderer::CVideoRenderer() = default;

CVideoRenderer::~CVideoRenderer()
{
    for (QPointer<CVideoSurface> &surface : m_surfaces) {
        delete surface.data();
    }
}

void CVideoRenderer::setWindow(Stream stream, kd::engine::KDWindowHandle window)
{
    const quintptr id = reinterpret_cast<quintptr>(window);
    QMetaObject::invokeMethod(
        this, [this, stream, id] { attach(stream, id); }, Qt::QueuedConnection);
}

void CVideoRenderer::attach(Stream stream, quintptr window)
{
    delete m_surfaces[stream].data();
    resetCounters(stream, 0);
    if (window == 0 || !canPaintWidgets()) {
        return;
    }
    QWidget *target = QWidget::find(WId(window));
    if (!target) {
        return;
    }
    // One window shows one stream: a stream moved here replaces the old one.
    for (QPointer<CVideoSurface> &surface : m_surfaces) {
        if (surface && surface->parentWidget() == target) {
            delete surface.data();
        }
    }
    resetCounters(stream, window);
    m_surfaces[stream] = new CVideoSurface(target, stream, this);
    showOrHideLocalPicture();
}

void CVideoRenderer::showOrHideLocalPicture()
{
    // Without a picture the window shows what it shows itself.
    if (CVideoSurface *local = m_surfaces[LocalVideo].data()) {
        local->setVisible(scene().localPictureOn);
    }
}

void CVideoRenderer::resetCounters(Stream stream, quintptr window)
{
    StreamCounters &counters = m_counters[stream];
    counters.window = window;
    counters.frames = 0;
    counters.nanoseconds = 0;
    counters.tiles = 0;
}

void CVideoRenderer::countFrame(Stream stream, quint64 nanoseconds, int tiles)
{
    StreamCounters &counters = m_counters[stream];
    ++counters.frames;
    counters.nanoseconds += nanoseconds;
    counters.tiles = tiles;
}

void CVideoRenderer::surfaceGone(Stream stream, const CVideoSurface *surface)
{
    // A stream that already moved on to another window keeps its counts.
    if (m_surfaces[stream] == surface || m_surfaces[stream].isNull()) {
        m_counters[stream].window = 0;
    }
}

std::vector<KDRenderStats> CVideoRenderer::noStats()
{
    std::vector<KDRenderStats> stats(StreamCount);
    for (int stream = 0; stream < StreamCount; ++stream) {
        stats[size_t(stream)].stream = stream;
    }
    return stats;
}

std::vector<KDRenderStats> CVideoRenderer::stats() const
{
    std::vector<KDRenderStats> stats = noStats();
    for (int stream = 0; stream < StreamCount; ++stream) {
        const StreamCounters &counters = m_counters[size_t(stream)];
        KDRenderStats &entry = stats[size_t(stream)];
        entry.window = counters.window;
        entry.framesPainted = counters.frames;
        entry.paintNanoseconds = counters.nanoseconds;
        entry.tiles = counters.tiles;
    }
    return stats;
}

void CVideoRenderer::setScene(const CVideoScene &scene)
{
    {
        std::lock_guard<std::mutex> lock(m_sceneMutex);
        m_scene = scene;
    }
    QMetaObject::invokeMethod(
        this, [this] { showOrHideLocalPicture(); }, Qt::QueuedConnection);
}

CVideoScene CVideoRenderer::scene() const
{
    std::lock_guard<std::mutex> lock(m_sceneMutex);
    return m_scene;
}

void CVideoRenderer::repaint()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (QPointer<CVideoSurface> &surface : m_surfaces) {
                if (surface) {
                    surface->update();
                }
            }
        },
        Qt::QueuedConnection);
}

void CVideoRenderer::clearAll()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (QPointer<CVideoSurface> &surface : m_surfaces) {
                delete surface.data();
            }
        },
        Qt::QueuedConnection);
}

} // namespace sdk
} // namespace kd
