#pragma once

class QWidget;

namespace kd_app {
namespace views {

// A plain QWidget subclass draws no style-sheet background or border of its
// own; windows whose look is a style sheet paint it through this.
class CStyleSheetPainter
{
public:
    CStyleSheetPainter() = delete;

    // To be called from the widget's paintEvent.
    static void paintBackground(QWidget *widget);
};

} // namespace views
} // namespace kd_app
