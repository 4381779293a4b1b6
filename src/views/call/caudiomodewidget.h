#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

class QMouseEvent;

namespace Ui {
class CAudioModeWidget;
}

namespace kd_app {
namespace views {

// The panel of an audio-only call: a dark area with the microphone's state in
// its middle. It reports mouse movement and presses, plain movement included,
// so that the layout engine can show its toolbar.
class CAudioModeWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CAudioModeWidget(QWidget *parent);
    ~CAudioModeWidget() override;

    // Takes the microphone's enabled state: true shows the unmuted image.
    void setMicMuted(bool micEnabled);

signals:
    void sigMouseMove(QMouseEvent *event);
    void sigMousePress(QMouseEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    std::unique_ptr<Ui::CAudioModeWidget> ui;
};

} // namespace views
} // namespace kd_app
