#pragma once

// Keyboard and mouse as a user gives them, through the test's own X server
// (ownxvfb.h): xdotool moves the pointer, presses buttons and types, and the
// program hears of it from the X server like any other input.
//
// xdotool runs beside the event loop: a click that opens a modal window
// returns once the window has closed again, so what answers that window is
// started before the click (see startXdotool).

#include <functional>
#include <memory>

#include <QEvent>
#include <QKeyEvent>
#include <QPoint>
#include <QPointer>
#include <QProcess>
#include <QStringList>
#include <QWidget>
#include <QtTest>

namespace xdoinput {

constexpr int kTimeoutMs = 20000;

// Started and left running; the caller keeps it until it has ended.
inline std::unique_ptr<QProcess> startXdotool(const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral("xdotool"), arguments);
    return process;
}

inline bool xdotool(const QStringList &arguments)
{
    const std::unique_ptr<QProcess> process = startXdotool(arguments);
    const bool ended = QTest::qWaitFor([&process] { return process->state() == QProcess::NotRunning; }, kTimeoutMs);
    return ended && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

inline QStringList pointerTo(const QPoint &global)
{
    return {"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())};
}

// The middle of the widget unless a point of its own is given. Layouts
// asked for but not yet done are done first: a widget just shown still has
// the place it had (or none) until its layout runs, and the user aims at
// where it is drawn.
inline QPoint globalPoint(const QWidget *widget, const QPoint &local = QPoint(-1, -1))
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    return widget->mapToGlobal(local == QPoint(-1, -1) ? widget->rect().center() : local);
}

inline bool moveTo(const QWidget *widget, const QPoint &local = QPoint(-1, -1))
{
    return xdotool(pointerTo(globalPoint(widget, local)));
}

inline bool click(const QWidget *widget, const QPoint &local = QPoint(-1, -1))
{
    return xdotool(pointerTo(globalPoint(widget, local)) << "click"
                                                         << "1");
}

// Keys by their X names ("Return", "ctrl+Home").
inline QStringList keysArguments(const QStringList &keys)
{
    return QStringList{"key", "--delay", "5"} + keys;
}

// Takes every argument after it as text: no command can follow in the same run.
inline QStringList typeArguments(const QString &text)
{
    return {"type", "--delay", "2", text};
}

inline bool type(const QString &text)
{
    return xdotool(typeArguments(text));
}

inline bool keys(const QStringList &keys)
{
    return xdotool(keysArguments(keys));
}

// Presses the left button at from, moves by offset in small steps, releases.
inline bool drag(const QWidget *widget, const QPoint &from, const QPoint &offset)
{
    const QPoint start = globalPoint(widget, from);
    QStringList arguments = pointerTo(start) << "mousedown"
                                             << "1";
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        arguments << pointerTo(start + offset * i / steps) << "sleep"
                  << "0.02";
    }
    return xdotool(arguments << "mouseup"
                             << "1");
}

// Counts the events of one kind that an object is given, so that a test
// knows when the input it gave has arrived (xdotool ends before the program
// has read it).
class CArrivals : public QObject
{
public:
    using Filter = std::function<bool(QEvent *)>;

    CArrivals(QObject *watched, QEvent::Type type, Filter filter = Filter())
        : m_watched(watched), m_type(type), m_filter(std::move(filter))
    {
        m_watched->installEventFilter(this);
    }
    ~CArrivals() override
    {
        if (m_watched) {
            m_watched->removeEventFilter(this);
        }
    }

    int count() const { return m_count; }

    // Key presses that carry a character (not Shift and the like).
    static bool typedCharacter(QEvent *event) { return !static_cast<QKeyEvent *>(event)->text().isEmpty(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == m_type && (!m_filter || m_filter(event))) {
            ++m_count;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QObject> m_watched;
    QEvent::Type m_type;
    Filter m_filter;
    int m_count = 0;
};

} // namespace xdoinput
