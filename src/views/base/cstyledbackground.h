#pragma once

class QWidget;

namespace kd_app {
namespace views {

// Paints the background a widget's style sheet gives it. A QWidget subclass
// draws none of it by itself; its paintEvent calls this.
void paintStyledBackground(QWidget *widget);

} // namespace views
} // namespace kd_app
