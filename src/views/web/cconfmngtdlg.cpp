#include "cconfmngtdlg.h"

#include <QCloseEvent>

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

CConfMngtDlg::CConfMngtDlg(QWidget *parent) : CBaseDlg(parent)
{
    setWindowFlags(Qt::FramelessWindowHint);
    resize(662, 570);
}

CConfMngtDlg::~CConfMngtDlg() = default;

void CConfMngtDlg::releasePage()
{
    KD_LOG;
}

void CConfMngtDlg::updatePage()
{
    KD_LOG;
}

void CConfMngtDlg::closeEvent(QCloseEvent *event)
{
    // The toolbar decides what a close means; the window itself stays.
    event->ignore();
    emit sigClose();
}

} // namespace views
} // namespace kd_app
