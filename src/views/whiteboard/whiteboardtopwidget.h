#pragma once

#include <memory>

#include <QWidget>

#include "engine/kdtypes.h"
#include "views/base/cdpiscaler.h"

namespace Ui {
class WhiteBoardTopWidget;
}

namespace kd_app {
namespace views {

class CContainerSettingsFormWidget;
class CControlVolumeWidget;
class CSharingToolbarControls;
class CTabClickGuard;
class menuAudioWidget;
class menuVideoWidget;

// The floating toolbar at the top of the whiteboard window while this side
// sends the board: microphone and camera with their device menus,
// conference management (when the conference can be controlled), the
// drawing tools, speaker volume, stop, and the button that brings the hidden
// video strip back. The tab under it folds it to a thin strip and back.
// Drawing, management, stop and the video strip go to the owners as
// signals; the whiteboard window sets the scale.
class WhiteBoardTopWidget : public QWidget
{
    Q_OBJECT

public:
    explicit WhiteBoardTopWidget(QWidget *parent);
    ~WhiteBoardTopWidget() override;

    void onDpiChanged(double scale);
    // true offers the button that shows the video strip again.
    void updateShowPicture(bool visible);
    bool isShowPictureVisible() const;
    double scale() const { return m_fScale; }
    // Folded: only the tab under the toolbar shows.
    bool isFolded() const;

    menuAudioWidget *audioMenu() const;
    menuVideoWidget *cameraMenu() const;
    CControlVolumeWidget *volumePopup() const;
    CContainerSettingsFormWidget *settingsPopup() const;
    bool isPopupShown() const;
    void showSetting(bool audio);

signals:
    void sigRefreshStatus();
    void sigOpenWhiteBoardTool();
    void sigClickedManagerButton();
    void sigClose();
    void sigOnShowPicture();
    void sigSettingWinClosed();

public slots:
    void slotSwitchMic();
    void slotSwitchCamera();
    void slotClickedManagerButton();
    void slotStopShare();
    void slotEntershareBtn();
    void slotShowPaintWindow();
    void slotConfMngtVisible(bool visible);
    void slotOnBtnShowPicture();
    void slotHidePicture();
    void slotOnBtnSelectMicClicked();
    void slotOnBtnSelectCameraClicked();
    void slotShowAudioSetting();
    void slotShowVideoSetting();
    void slotOnBtnVolumClicked();
    void slotVolume(kd::engine::KD_DEVICE_TYPE type, kd::engine::KDVolume volume);
    void slotOnMicMutedShow(bool mic_muted);
    void slotOnLanguageChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    void retranslateTexts();
    void updateMicButton();
    void updateCameraButton();
    void updateVolumeButton(bool muted, bool apply);
    void setPanelHeight(int height);

    std::unique_ptr<Ui::WhiteBoardTopWidget> ui;
    CDpiScaler m_dpiScaler;
    double m_fScale = 1.0;
    CSharingToolbarControls *m_pControls = nullptr;
    CTabClickGuard *m_pTabGuard = nullptr;
};

} // namespace views
} // namespace kd_app
