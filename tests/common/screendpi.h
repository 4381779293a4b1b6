#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <qpa/qwindowsysteminterface.h>

// Makes the primary screen report another logical DPI, as when a user
// changes the display scale while the program runs; windows on it hear of it
// through their screen, as they would from the desktop.
inline void setPrimaryScreenDpi(qreal dpi)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    QWindowSystemInterface::handleScreenLogicalDotsPerInchChange(screen, dpi, dpi);
    QWindowSystemInterface::flushWindowSystemEvents();
    QCoreApplication::processEvents();
}

// Gives the primary screen a DPI for one scope and then its own back.
class ScopedScreenDpi
{
public:
    explicit ScopedScreenDpi(qreal dpi) : m_original(QGuiApplication::primaryScreen()->logicalDotsPerInchX())
    {
        setPrimaryScreenDpi(dpi);
    }
    ~ScopedScreenDpi() { setPrimaryScreenDpi(m_original); }
    ScopedScreenDpi(const ScopedScreenDpi &) = delete;
    ScopedScreenDpi &operator=(const ScopedScreenDpi &) = delete;

private:
    qreal m_original;
};
