#pragma once

#include <memory>
#include <string>

#include <QPointer>

#include "engine/kdtypes.h"
#include "views/profile/cprofiledlg.h"

namespace Ui {
class CMyHeadpicDlg;
}

namespace kd_app {
namespace views {

class CWaitingDlg;

// Picks a JPG or PNG picture, lets the user move and zoom it in the frame,
// and uploads what the frame shows as the user's new avatar.
class CMyHeadpicDlg : public CProfileDlg
{
    Q_OBJECT

public:
    explicit CMyHeadpicDlg(QWidget *parent);
    ~CMyHeadpicDlg() override;

    void showWaitingDlg();
    void hideWaitingDlg();
    CWaitingDlg *waitingDlg() const;

    // The file the frame's picture is written to before it is uploaded.
    static QString uploadFilePath();

public slots:
    void on_m_pBtnOpen_clicked();
    void on_m_pBtnUpload_clicked();
    void slot_UploadUserImageComplete(std::string szPath);
    void slotOnError(kd::engine::KDError err);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void uploadFailed();

    std::unique_ptr<Ui::CMyHeadpicDlg> ui;
    QPointer<CWaitingDlg> m_pWaitingDlg;
};

} // namespace views
} // namespace kd_app
