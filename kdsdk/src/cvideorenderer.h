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
    void showOrHideLocalPicture();

    mutable std::mutex m_sceneMutex;
    CVideoScene m_scene;
    std::array<QPointer<CVideoSurface>, StreamCount> m_surfaces;
};

} // namespace sdk
} // namespace kd
