#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/kdtypes.h"
#include "views/base/cbasewgt.h"

class QButtonGroup;
class QComboBox;
class QTimer;

namespace Ui {
class CSettingsForm;
}

namespace kd_app {
namespace views {

// The settings: an entry list beside six pages (SIP, General, Audio, Video,
// Network Report, About). Every switch takes effect at once, in the per-user
// configuration or the engine; only the SIP page waits for its Save. It is
// never a window of its own: the settings popup and the home window host it
// and pass it their display scale.
class CSettingsForm : public CBaseWgt
{
    Q_OBJECT

public:
    enum Page {
        SipPage = 0,
        GeneralPage = 1,
        AudioPage = 2,
        VideoPage = 3,
        ReportPage = 4,
        AboutPage = 5,
    };

    explicit CSettingsForm(QWidget *parent);
    ~CSettingsForm() override;

    // The hosts' scale: style sheet, entry icons and report sizes follow it.
    void updateDpi(double scale);
    // The SIP entry is shown only to a guest who skipped signing in.
    void setSipPageVisible(bool visible);
    // Whether the SIP page holds edits that Save has not stored.
    bool isSipSettingsChanged();
    // Fills the SIP page from the stored account, dropping edits.
    void loadSipSettings();
    // Selects the entry row and the page with this index (Page).
    void selectPage(int page);

public slots:
    void slt_refreshAudioDevices();
    void slt_refreshVedioDevices();
    void slotOnCallRateCurrentIndexChanged(int idx);
    void slotOnChkBoxAutoLoginToggled(bool checked);
    void slotOnChkBoxEnableHightFrameRateToggled(bool checked);
    void slotOnChkBoxAutoAnswerToggled(bool checked);
    void slotOnChkBoxAutoSaveWhiteBoardSnapshot(bool checked);
    void slotOnLanguageCurrentIndexChanged(int idx);
    void slotOnLanguageChanged();
    void slotOnChkBoxEnable1080p(bool checked);
    void slotOnSeperateWin4RemoteContent(bool checked);
    void slotOnChkBoxFullScreenOnCallConnected(bool checked);
    void slotOnChkBoxDisableShare(bool checked);
    void slotOnChkBoxDisablePrompt(bool checked);
    void slotOnChkBoxAutoRun(bool checked);
    void slotOnbuttonClicked(int id);
    void slotOnChkBoxAINoiseReduction(bool checked);
    void slotOnChkBoxHardEncode(bool checked);
    void slotOnChkBoxHardDecode(bool checked);
    void slt_settingspageChanged(int index);
    void slt_micSelected(int index);
    void slt_speakerSelected(int index);
    void slt_cameraSelected(int index);
    void slt_updateMicVolume();
    void slt_playTestSound();
    void slt_UploadFeedBack();
    void on_m_pBtnCheckUpdate_clicked();
    void slt_updateMessage(bool toUpdate);
    void on_pBt_details_clicked();
    void slotOnDeviceAdded(kd::engine::KDDevice device);
    void slotOnDeviceRemoved(kd::engine::KDDevice device);
    void on_radio_SIPRegistration_clicked(bool nchecked);
    void on_pbt_SIPSave_clicked();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void initUi();
    void initConnections();
    void retranslateEntries();
    void fillGeneralAndMedia();
    void changeSnapshotPath();
    void updateWebReport();
    void setNetworkStatusIcon(bool normal);
    void refreshMicComboBox();
    void refreshSpeakerComboBox();
    void refreshCameraComboBox();
    void onDeviceChanged(int deviceType);
    void startMicMeter();
    void stopMicMeter();
    WId previewWindow() const;

    std::unique_ptr<Ui::CSettingsForm> ui;
    std::vector<kd::engine::KDDevice> m_audioCaptureDevices;
    kd::engine::KDDevice m_currentMic;
    std::vector<kd::engine::KDDevice> m_audioPlaybackDevices;
    kd::engine::KDDevice m_currentSpeaker;
    std::vector<kd::engine::KDDevice> m_videoDevices;
    kd::engine::KDDevice m_currentCamera;
    kd::engine::KDDiag m_diag;
    std::string m_strDiag;
    QTimer *m_pMicMeterTimer = nullptr;
    int m_lastSettingsIndex = 0;
    QButtonGroup *m_pRenderTypeGroup = nullptr;
    int m_renderType = 0;
    bool m_bNetworkNormal = false;
    QString m_qstrTestSoundPath;
};

} // namespace views
} // namespace kd_app
