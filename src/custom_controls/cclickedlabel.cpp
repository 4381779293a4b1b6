#include "cclickedlabel.h"

#include <QMouseEvent>

namespace kd_app {
namespace custom_controls {

CClickedLabel::CClickedLabel(QWidget *parent) : QLabel(parent)
{
}

void CClickedLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit clicked(event->button());
}

} // namespace custom_controls
} // namespace kd_app
