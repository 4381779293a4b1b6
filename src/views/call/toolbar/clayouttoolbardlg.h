#pragma once

#include <memory>

#include <QFutureWatcher>
#include <QPointer>
#include <QRect>

#include "engine/kdmetatypes.h"
#include "helpers/enums.h"
#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"
#include "views/call/ilayouttoolbar.h"

class QAbstractButton;
class QToolButton;

namespace Ui {
class CLayoutToolbarDlg;
}

namespace kd_app {
namespace views {

class AlertDlg;
class CAttendessWidgets;
class CConfMngtDlg;
class CContainerSettingsFormWidget;
class CControlVolumeWidget;
class CDTMFDlg;
class CMenuMoreWidget;
class CSelectShareContent;
class menuAudioWidget;
class menuVideoWidget;

// The bar of call controls along the bottom of the video: microphone and
// camera with their device menus, share, management, attendees, layout,
// more, volume, dial pad and hang-up. It owns the popups its buttons open,
// keeps them above their buttons and closes them when the user clicks
// elsewhere; the layout engine places, shows and hides the bar itself.
class CLayoutToolbarDlg : public CBaseDlg, public ILayoutToolbar
{
    Q_OBJECT

public:
    explicit CLayoutToolbarDlg(QWidget *parent);
    ~CLayoutToolbarDlg() override;

    QWidget *toolbarWindow() override { return this; }
    void setLayoutMode(int mode) override;
    int layoutMode() const { return m_layoutMode; }
    void setAudioOnly(bool audioOnly) override;
    void initBtnStatus() override;
    void checkMicStatus() override;
    void checkCameraStatus();
    void muteAudio() override;
    void UnmuteAudio() override;
    bool isMicButtonChecked() const override;
    void setIsLocalRemoteMuted(bool muted) override;
    bool isLocalRemoteMuted() const { return m_bIsLocalRemoteMuted; }
    void updateMoreModeVisibility() override;
    void setShowPicButtonVisible(bool visible) override;
    bool getShowPromptFlag() const override { return m_bShowPrompt; }
    bool isAnyPopupVisible() const override;
    void openManagerWindow() override;
    void closeWindows() override;
    void closeSelectShareContentForm() override;
    void setFullScreenParent(QWidget *titleBar, QRect geometry);

    // The popups as they are now; null when not open.
    menuAudioWidget *audioMenu() const;
    menuVideoWidget *cameraMenu() const;
    CMenuMoreWidget *moreMenu() const;
    CControlVolumeWidget *volumeControl() const;
    CContainerSettingsFormWidget *settingsWindow() const;
    CSelectShareContent *sharePicker() const;
    CAttendessWidgets *attendeesWindow() const;
    CDTMFDlg *dialPad() const;
    AlertDlg *leaveConfirmation() const;
    CConfMngtDlg *confMngtWindow() const;
    QWidget *button(const char *objectName) const;

signals:
    void sigChangeLayoutMode(enums::LayoutModeType layoutMode);
    void sigIsLocalMicEnabled(bool isLocalMicEnabled);
    void sigrequestSpeakPrompt();
    void sigOnShowPicture();
    void sigSettingWinClosed();

public slots:
    void slotOnBtnEnableMicClicked();
    void slotOnBtnEnableCameraClicked();
    void slotOnBtnSelectMicClicked();
    void slotOnBtnSelectCameraClicked();
    void slotOnBtnSwitchLayoutClicked();
    void slotOnBtnHangupClicked();
    void slotOnConfMngtClicked();
    void slotOnAttendeesClicked();
    void slotOnConfMngtDlgClosed();
    void slotOnShareClicked();
    void slotOnDTMFClicked();
    void slotOnLanguageChanged();
    void slotOnCallStatusChanged(kd_app::enums::CallStatus callStatus);
    void slotShowAudioSetting();
    void slotShowVideoSetting();
    void slotOnMicMutedShow(bool mic_muted);
    void slotOnVideoMutedShow(int video_muted);
    void slotOnBtnMoreClicked();
    void slotOnBtnVolumClicked();
    void slotAlertWidgetBtn1();
    void slotAlertWidgetBtn2();
    void slotAlertWidgetBtn3();
    void slotCloseAlertWidget();
    void slotOnBtnShowPicture();
    void slotHidePicture();
    void slotConfMngtVisible(bool controllable);
    void slotOnSettingClose();
    void slotVolume(kd::engine::KD_DEVICE_TYPE type, kd::engine::KDVolume vol);
    void slotOnDeviceAdded(kd::engine::KDDevice device);
    void slotOnDeviceRemoved(kd::engine::KDDevice device);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void onDpiChanged() override;

private:
    void updateButtonTexts();
    void refreshEnableMicBtnStatus(bool enabled);
    void refreshEnableCameraBtnStatus(bool enabled);
    void refreshVolumeBtnStatus(bool muted, bool useMuted);
    void setButtonState(QToolButton *button, bool on, int onIcon, int offIcon, const QString &onText,
                        const QString &offText);
    void updateScaledIcons();
    // Makes a popup a window of the toolbar's, shows it and centres it above its button.
    void placePopup(QWidget *popup, QAbstractButton *anchor);
    bool closeDeactivatedPopup(QObject *watched);
    void showSetting(bool audio);
    void checkControllable();
    void openAttendessWindow();
    void onDeviceChanged(int type);
    void dropAlertWidget();
    void releaseConfMngtPage();

    std::unique_ptr<Ui::CLayoutToolbarDlg> ui;
    QPointer<CConfMngtDlg> m_pConfMngtDlg;
    int m_layoutMode = enums::LayoutMode_People;
    QPointer<menuVideoWidget> m_pCamSelectMenu;
    QPointer<menuAudioWidget> m_pAudioSelectMenu;
    QPointer<CContainerSettingsFormWidget> m_pSettingForm;
    QPointer<CSelectShareContent> m_pSelectShareContentForm;
    QPointer<CAttendessWidgets> m_pAttendeesWidget;
    QPointer<AlertDlg> m_pAlertWidget;
    bool m_bIsLocalRemoteMuted = false;
    QPointer<QWidget> m_pWgtTitleBar;
    QRect m_titleBarGeometry;
    QPointer<CMenuMoreWidget> m_pMoreMenu;
    QPointer<CControlVolumeWidget> m_pVolumeControl;
    QPointer<CDTMFDlg> m_pDTMFDlg;
    bool m_bShowPrompt = true;
    CDpiScaler m_dpiScaler;
    // The answer of the pool task that asks whether the user may control the
    // conference arrives through this child, so it dies with the toolbar.
    QFutureWatcher<bool> m_controllableWatcher;
    bool m_bScaleKnown = false;
};

} // namespace views
} // namespace kd_app
