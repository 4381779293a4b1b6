#pragma once

#include <memory>

#include <QStringList>

#include "views/base/cbasedlg.h"

class QLabel;
class QMovie;

namespace kd_app {
namespace views {

// A translucent animated card that a window lays over itself while a long
// operation runs. It cannot be dragged and sets no modality of its own.
class CWaitingDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit CWaitingDlg(QWidget *parent);
    ~CWaitingDlg() override;

    // The shared instance of the login window; lives until the application object ends.
    static CWaitingDlg *getInstance();

    // Fixes the dialog at width x height times its display-scale factor.
    void setScaledFixedSize(int width, int height);

    QString currentAnimation() const;

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *m_pLblDisplay = nullptr;
    std::unique_ptr<QMovie> m_pMovie;
    const QStringList m_animationFiles;
};

} // namespace views
} // namespace kd_app
