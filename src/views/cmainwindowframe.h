#pragma once

#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"
#include "views/base/cwindowmaximizer.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace kd_app {
namespace views {

// What the large main windows share: a title bar with minimise, maximise or
// restore and close, maximising to the screen's free area, and closing
// reported as sigClose.
class CMainWindowFrame : public CBaseDlg
{
    Q_OBJECT

public:
    explicit CMainWindowFrame(QWidget *parent);
    ~CMainWindowFrame() override;

    bool isMaximizedFlag() const { return m_maximizer.isMaximized(); }

signals:
    void sigClose();

public slots:
    void slotOnWinMax();
    void slotOnWinRestore();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;
    // The window's own rules; sizes in them are written for scale 1 as
    // "{N}px" placeholders and multiplied by the scale.
    void setScaledStyleSheet(const QString &styleSheet);
    // The layout below the title bar, for the window's own body.
    QVBoxLayout *bodyLayout() const { return m_pBodyLayout; }
    void setTitleText(const QString &text);
    // A centred line of text and a centred red button in the body.
    QLabel *addBodyLabel(const char *name);
    QPushButton *addBodyButton(const char *name);

private:
    QLabel *m_pLblTitle = nullptr;
    QPushButton *m_pBtnMin = nullptr;
    QPushButton *m_pBtnMax = nullptr;
    QPushButton *m_pBtnRestore = nullptr;
    QPushButton *m_pBtnClose = nullptr;
    QWidget *m_pWgtTitlebar = nullptr;
    QVBoxLayout *m_pBodyLayout = nullptr;
    CDpiScaler m_dpiScaler;
    QString m_qstrStyleSheet;
    CWindowMaximizer m_maximizer;
};

} // namespace views
} // namespace kd_app
