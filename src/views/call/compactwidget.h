#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class CompactWidget;
}

namespace kd_app {
namespace views {

// The title bar of the compact call window: minimise, microphone, camera
// and restore. The two device buttons switch the device and then show the
// state read back from the engine.
class CompactWidget : public CBaseWgt
{
    Q_OBJECT

public:
    // The images of one icon at scales 1, 1.5 and 2.
    struct ScaledIcon
    {
        const char *oneX;
        const char *onePointFiveX;
        const char *twoX;
    };

    explicit CompactWidget(QWidget *parent);
    ~CompactWidget() override;

    void onDpiUpdate(double scale);
    // Exactly 1.5 and 2 have images of their own; any other scale takes 1x.
    static QString iconForScale(const ScaledIcon &icon, double scale);

    static const ScaledIcon MINIMISE_ICON;
    static const ScaledIcon RESTORE_ICON;
    static const ScaledIcon MIC_ON_ICON;
    static const ScaledIcon MIC_OFF_ICON;
    static const ScaledIcon CAMERA_ON_ICON;
    static const ScaledIcon CAMERA_OFF_ICON;

signals:
    void sigMin();
    void sigRecover();

public slots:
    void slotOnBtnMinClicked();
    void slotOnBtnRecoverClicked();
    void slotOnBtnMuteClicked();
    void slotOnBtnCameraClicked();
    void slotOnMicMutedShow(bool mic_muted);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateMuteIcon();
    void updateCameraIcon();
    void updateWindowIcons();

    std::unique_ptr<Ui::CompactWidget> ui;
    double m_fScale = 1.0;
};

} // namespace views
} // namespace kd_app
