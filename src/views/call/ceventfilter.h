#pragma once

#include <QObject>
#include <QPointer>

namespace kd_app {
namespace views {

class CLayoutBackgroundDlg;

// Watches the call windows: Escape leaves full screen, and whenever the call
// windows are activated or re-stacked the separate whiteboard and
// received-content windows are raised again, so they stay above them.
class CEventFilter : public QObject
{
    Q_OBJECT

public:
    explicit CEventFilter(CLayoutBackgroundDlg *frame);
    ~CEventFilter() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

    QWidget *lastWhiteBoardDlg() const { return m_pWhiteBoardDlg; }
    QWidget *lastRemoteContentDlg() const { return m_pRemoteContentDlg; }

    // The class names the filter recognises the two windows by.
    static const char *const WHITEBOARD_CLASS;
    static const char *const REMOTE_CONTENT_CLASS;

private:
    bool onKeyPress(QEvent *event);
    bool onWindowActivate(QObject *watched);
    bool onZOrderChange(QObject *watched);

    QPointer<CLayoutBackgroundDlg> m_pFrame;
    // Either window may be deleted before the filter hears of it.
    QPointer<QWidget> m_pWhiteBoardDlg;
    QPointer<QWidget> m_pRemoteContentDlg;
};

} // namespace views
} // namespace kd_app
