#pragma once

#include <QLabel>

namespace kd_app {
namespace custom_controls {

// A label that reports every mouse release as a click, for link-like texts.
class CClickedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit CClickedLabel(QWidget *parent = nullptr);

signals:
    void clicked(Qt::MouseButton mouseButton);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace custom_controls
} // namespace kd_app
