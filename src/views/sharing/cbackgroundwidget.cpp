#include "cbackgroundwidget.h"

namespace kd_app {
namespace views {

CbackgroundWidget::CbackgroundWidget(QWidget *parent) : CBaseWgt(parent)
{
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
}

CbackgroundWidget::~CbackgroundWidget() = default;

} // namespace views
} // namespace kd_app
