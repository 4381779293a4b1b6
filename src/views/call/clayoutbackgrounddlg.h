#pragma once

#include <QPointer>

#include "helpers/enums.h"
#include "views/cmainwindowframe.h"
#include "views/sharing/cbackgroundwidget.h"

class QLabel;
class QPushButton;

namespace kd_app {
namespace views {

// The window of a running call: which meeting, and the way to leave it.
class CLayoutBackgroundDlg : public CMainWindowFrame
{
    Q_OBJECT

public:
    static CLayoutBackgroundDlg *getInstance();
    ~CLayoutBackgroundDlg() override;

    CbackgroundWidget *getScreenDrawingWidget() const { return m_pScreenDrawing; }

public slots:
    void slotOnCallStatusChanged(enums::CallStatus callStatus);
    void slotOnLanguageChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    explicit CLayoutBackgroundDlg(QWidget *parent);
    void slotOnBtnHangUp();
    void updateCallText();

    QLabel *m_pLblConfNumber = nullptr;
    QLabel *m_pLblCallState = nullptr;
    QPushButton *m_pBtnHangUp = nullptr;
    QPointer<CbackgroundWidget> m_pScreenDrawing;
};

} // namespace views
} // namespace kd_app
