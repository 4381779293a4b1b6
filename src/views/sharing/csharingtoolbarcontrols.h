#pragma once

#include <functional>

#include <QObject>
#include <QPointer>

class QMenuButton;
class QWidget;

namespace kd_app {
namespace views {

class CContainerSettingsFormWidget;
class CControlVolumeWidget;
class menuAudioWidget;
class menuVideoWidget;

// The call controls that the sharing overlay's toolbar and the whiteboard
// sender toolbar have in common: microphone, camera and speaker buttons that
// follow the engine, the device menus and the volume pop-up under their
// buttons, the settings pop-up they lead to, and the question whether the
// conference can be controlled. The owner is the toolbar's window: pop-ups
// float above it as windows of their own.
class CSharingToolbarControls : public QObject
{
    Q_OBJECT

public:
    struct Buttons
    {
        QMenuButton *mic = nullptr;
        QWidget *micMenu = nullptr; // the arrow beside the microphone
        QMenuButton *camera = nullptr;
        QWidget *cameraMenu = nullptr; // the arrow beside the camera
        QMenuButton *volume = nullptr;
    };

    // Makes the pop-up float above the owner's window as a window of its own
    // that the window system keeps with it.
    static void floatAbove(QWidget *popup, QWidget *owner);

    // scale gives the owner's display scale at the time a pop-up opens.
    CSharingToolbarControls(QWidget *owner, const Buttons &buttons, std::function<double()> scale);
    ~CSharingToolbarControls() override;

    // The device menus' arrows for the owner's display scale (the buttons'
    // own style sheets would keep them at their size at 1).
    void scaleMenuArrows(double scale);
    // Button looks and texts from the engine's state.
    void refreshMic();
    void refreshCamera();
    // With apply the muted flag is taken, else the button's checked state.
    void refreshVolume(bool muted, bool apply);
    // A click on the microphone or camera button: the press has already
    // flipped the button's look; the engine is asked for the state it shows.
    void switchMic();
    void switchCamera();

    void openAudioMenu();
    void openCameraMenu();
    // Reads the speaker's state into the button, then opens the pop-up
    // unless it is open.
    void openVolume();
    // Opens the settings pop-up on the audio (true) or the video page; an
    // open one is only centred again.
    void showSetting(bool audio);
    // The settings links of the device menus.
    void showAudioSettingFromMenu();
    void showVideoSettingFromMenu();

    // Asks the engine on the thread pool whether the conference can be
    // controlled and calls the receiver's slot (one bool) with the answer on
    // the graphical thread, if the receiver still exists then.
    static void askControllable(QObject *receiver, const char *slot);

    menuAudioWidget *audioMenu() const;
    menuVideoWidget *cameraMenu() const;
    CControlVolumeWidget *volumePopup() const;
    CContainerSettingsFormWidget *settingsPopup() const;
    // A device menu or the volume pop-up was opened and has not closed since.
    bool isPopupShown() const { return m_bPopupShown; }
    // Closes the settings pop-up, as the owner goes.
    void closeSetting();

signals:
    // The microphone or camera state was read again.
    void sigRefreshStatus();
    void sigSettingWinClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openPopup(QWidget *popup, QWidget *button);
    bool popupDeactivated(QWidget *popup);
    void forget(QWidget *popup);

    QWidget *m_pOwner;
    Buttons m_buttons;
    std::function<double()> m_scale;
    QPointer<menuAudioWidget> m_pAudioSelectMenu;
    QPointer<menuVideoWidget> m_pCamSelectMenu;
    QPointer<CControlVolumeWidget> m_pVolumeControl;
    QPointer<CContainerSettingsFormWidget> m_pSettingForm;
    bool m_bPopupShown = false;
};

} // namespace views
} // namespace kd_app
