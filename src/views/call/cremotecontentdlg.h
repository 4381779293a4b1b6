#pragma once

#include <memory>

#include <QWidget>

#include "views/base/cbasedlg.h"

namespace Ui {
class CRemoteContentDlg;
}

namespace kd_app {
namespace views {

// Received content in a window of its own, when the user's settings ask for
// one: a title with the sender's name, window-state buttons and the area the
// engine renders the content into.
class CRemoteContentDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit CRemoteContentDlg(QWidget *parent);
    ~CRemoteContentDlg() override;

    void setTitle(const QString &title);
    QString title() const;
    // The native window the engine renders the received content into.
    WId getContentWinId() const;

public slots:
    void slotOnWinMin();
    void slotOnWinMax();
    void slotOnWinRestore();
    void slotOnFullScreen();
    void slotOnExitFullScreen();
    void slotOnLanguageChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void refreshWindowStateBtns();

    std::unique_ptr<Ui::CRemoteContentDlg> ui;
    QString m_strTitle;
};

} // namespace views
} // namespace kd_app
