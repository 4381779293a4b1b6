#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace kd_app {

// Tells when a top-level window may have come to lie above windows that must
// stay above it: it was shown (a window is made on top of its siblings),
// raised by the program, activated (window managers raise what they
// activate), or restacked by the window system at another program's request.
// Windows that float above another one at absolute positions follow it with
// this, as they follow its moves. Several reasons in one turn of the event
// loop give one signal, after the raise that caused them.
class CStackingWatcher : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit CStackingWatcher(QWidget *window);
    ~CStackingWatcher() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

signals:
    void sigRestacked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void notifyLater();
    // Whether the native event says the window changed places in the stack;
    // one implementation per window system.
    bool isRestackOfWindow(const QByteArray &eventType, void *message);

    QPointer<QWidget> m_window;
    // Where the window system last said the window lies.
    QRect m_lastGeometry;
    bool m_bPending = false;
};

} // namespace kd_app
