#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include "engine/kdtypes.h"
#include "kdsdkcontrol.h"

class QWidget;

namespace kd {
namespace sdk {

class CVideoSurface;

// What the synthetic streams show; the engine hands a fresh copy on every change.
struct CVideoScene
{
    QString localName;
    QStringList participants;
    QImage localContentFrame;
    QString contentSender;
    bool cameraOn = true;
    // The local picture: in a call always, outside one only with the preview on.
    bool localPictureOn = true;
    QString cameraName;
    int cameraIndex = 0; // the camera's place in the engine's list
    QImage cameraFrame;  // a real camera's picture; null for the synthetic one
};

// Paints synthetic video into the client's windows. The engine calls it from
// any thread; window ids are resolved and painted on the graphical thread.
class CVideoRenderer : public QObject
{
public:
    enum Stream { LocalVideo, RemoteVideo, RemoteContent, LocalContent, StreamCount };
    static_assert(int(LocalVideo) == KD_RENDER_LOCAL_VIDEO && int(RemoteVideo) == KD_RENDER_REMOTE_VIDEO &&
                      int(RemoteContent) == KD_RENDER_REMOTE_CONTENT && int(LocalContent) == KD_RENDER_LOCAL_CONTENT &&
                      int(StreamCount) == KD_RENDER_STREAM_COUNT,
                  "render statistics name the streams in the renderer's order");

    CVideoRenderer();
    ~CVideoRenderer() override;

    void setWindow(Stream stream, kd::engine::KDWindowHandle window);
    void setScene(const CVideoScene &scene);
    CVideoScene scene() const;
    void repaint();
    // Removes every surface; safe from any thread.
    void clearAll();

    // What each stream painted into its current window; safe from any thread.
    std::vector<KDRenderStats> stats() const;
    static std::vector<KDRenderStats> noStats();
    // Called by a surface for every frame it painted, and when it goes.
    void countFrame(Stream stream, quint64 nanoseconds, int tiles);
    void surfaceGone(Stream stream, const CVideoSurface *surface);

private:
    struct StreamCounters
    {
        std::atomic<quint64> window{0};
        std::atomic<quint64> frames{0};
        std::atomic<quint64> nanoseconds{0};
        std::atomic<int> tiles{0};
    };

    void attach(Stream stream, quintptr window);
    void resetCounters(Stream stream, quintptr window);
    void showOrHideLocalPicture();

    mutable std::mutex m_sceneMutex;
    CVideoScene m_scene;
    std::array<QPointer<CVideoSurface>, StreamCount> m_surfaces;
    std::array<StreamCounters, StreamCount> m_counters;
};

} // namespace sdk
} // namespace kd
