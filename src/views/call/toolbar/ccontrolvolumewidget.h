#pragma once

#include "views/base/cbasewgt.h"

class QHBoxLayout;
class QLabel;
class QSlider;
class QToolButton;
class QVBoxLayout;

namespace kd_app {
namespace views {

// The speaker-volume popup: the volume as 0 to 100 over a vertical slider
// and a mute button under it. Changes go straight to the engine.
class CControlVolumeWidget : public CBaseWgt
{
    Q_OBJECT

public:
    CControlVolumeWidget(double scale, QWidget *parent);
    ~CControlVolumeWidget() override;

    // Shows the engine's state; only then are the controls connected, so
    // showing it sends nothing back.
    void initVolume(bool mute, float volume);

    // The engine's speaker volume runs from 0.0 to 3.0, the slider from 0 to 100.
    static int toSliderValue(float volume);
    static float toEngineVolume(int value);

public slots:
    void slot_setValue(int nValue);
    void slot_setMute(bool mute);

private:
    QLabel *m_value = nullptr;
    QSlider *m_volume = nullptr;
    QToolButton *m_mute = nullptr;
    QVBoxLayout *m_vLayout = nullptr;
    QHBoxLayout *m_hLayout = nullptr;
    bool m_bConnected = false;
};

} // namespace views
} // namespace kd_app
