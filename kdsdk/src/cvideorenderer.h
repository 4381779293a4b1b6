#pragma once

#include <array>
#include <mutex>

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include "engine/kdtypes.h"

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
};

// Paints synthetic video into the client's windows. The engine calls it from
// any thread; window ids are resolved and painted on the graphical thread.
class CVideoRenderer : public QObject
{
public:
    enum Stream { LocalVideo, RemoteVideo, RemoteContent, LocalContent, StreamCount };

    CVideoRenderer();
    ~CVideoRenderer() override;

    void setWindow(Stream stream, kd::engine::KDWindowHandle window);
    void setScene(const CVideoScene &scene);
    CVideoScene scene() const;
    void repaint();
    // Removes every surface; safe from any thread.
    void clearAll();

private:
    void attach(Stream stream, quintptr window);

    mutable std::mutex m_sceneMutex;
    CVideoScene m_scene;
    std::array<QPointer<CVideoSurface>, StreamCount> m_surfaces;
};

} // namespace sdk
} // namespace kd
