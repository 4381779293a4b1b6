#pragma once

#include <QUrl>

#include "views/base/cbasedlg.h"

class QLabel;

namespace kd_app {
namespace views {

class WhiteBoardTopWidget;

// The web whiteboard's window, sent by this side or received: a top bar and
// the page of the call's whiteboard server. The layout engine shows it in
// its own window or embeds it over the whiteboard cell.
class WhiteBoardDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit WhiteBoardDlg(QWidget *parent);
    ~WhiteBoardDlg() override;

    // Whether this side sends the board (true) or receives it.
    void isSendWhiteBoard(bool send);
    bool isSender() const { return m_bIsSender; }
    // Loads the call's whiteboard page again; releaseWebPage drops it.
    void updateWebPage();
    void releaseWebPage();
    QUrl getPageUrl() const { return m_pageUrl; }
    void hideTitleBar();
    // Cleared when the board is embedded in the call window's layout.
    void setIsSeperateDlg(bool separate) { m_bIsSeperateDlg = separate; }
    bool isSeperateDlg() const { return m_bIsSeperateDlg; }
    WhiteBoardTopWidget *getTopWidget() const { return m_pTopWidget; }

signals:
    void sigRefreshStatus();
    void sigClickManagerButton();
    void sigMouseMove4PaintList();
    // The user closed the board this side sends.
    void sigHiddenWhiteBoard();

private:
    void slotOnClose();

    WhiteBoardTopWidget *m_pTopWidget = nullptr;
    QLabel *m_pLblPage = nullptr;
    QUrl m_pageUrl;
    bool m_bIsSender = false;
    bool m_bIsSeperateDlg = true;
};

} // namespace views
} // namespace kd_app
