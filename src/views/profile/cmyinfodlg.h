#pragma once

#include <memory>

#include <QPointer>

#include "engine/kdtypes.h"
#include "views/profile/cprofiledlg.h"

class QLabel;
class QLineEdit;

namespace Ui {
class CMyInfoDlg;
}

namespace kd_app {
namespace views {

// The signed-in user's profile card: avatar, display name (renamed in
// place), account and organisation fields, and the ways to a new avatar, a
// new password and signing out. The home window runs it modally.
class CMyInfoDlg : public CProfileDlg
{
    Q_OBJECT

public:
    explicit CMyInfoDlg(QWidget *parent);
    ~CMyInfoDlg() override;

    void initData();
    void fitNameLabel(QLabel *label);
    void setAvatarHover(bool on);

    // The window the card places itself beside on its first show.
    void setAnchorWindow(QWidget *anchor) { m_pAnchorWindow = anchor; }
    // The name editor while renaming, else null.
    QLineEdit *nameEditor() const { return m_pNewNameEdit; }

    // 1 to 16 characters, none of them '"', '<' or '>'.
    static bool isAcceptableName(const QString &name);

public slots:
    void slotOnClose();
    void slotOnLogout();
    void slotOnAvatarDownloadedOk();
    void on_m_pBtnChangePassword_clicked();
    void slot_m_pLblAvatar_clicked();
    void EnterEditMode();
    void ExitEditMode();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    int scaled(int value) const;
    void drawAvatar(bool darken);
    void closeNameEditor(QLineEdit *editor);

    std::unique_ptr<Ui::CMyInfoDlg> ui;
    const int m_nAvatarWidth = 60;
    const int m_nAvatarHeight = 60;
    kd::engine::KDUserInfo m_userInfo;
    QLineEdit *m_pNewNameEdit = nullptr;
    QLabel *m_pAvatarHover = nullptr;
    QPointer<QWidget> m_pAnchorWindow;
    bool m_bPositioned = false;
};

} // namespace views
} // namespace kd_app
