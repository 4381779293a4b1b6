#pragma once

#include <memory>

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QString>

#include "engine/kdtypes.h"
#include "views/base/cbasewgt.h"

namespace Ui {
class CbackgroundWidget;
}

class QMenuButton;
class QTimer;

namespace kd_app {
namespace models {
class ScreenThread;
}

namespace views {

class CContainerSettingsFormWidget;
class CControlVolumeWidget;
class CSharingToolbarControls;
class CTabClickGuard;
class ColorWidget;
class menuAudioWidget;
class menuVideoWidget;
class PaintListWidget;
class SelectBgColorWidget;

// The top-most window laid over the shared screen while this side sends
// content: a blue frame around the screen, the sharing toolbar at the top,
// and the canvas the user draws on with the tool menu's pens. While drawing
// is off, every click but those on the toolbar reaches the desktop below.
// The window manager takes it as the active main window while it is up and
// no other main window is; the layout engine creates, places and closes it
// and listens to its signals.
//
// Without a compositor the window cannot be translucent: it is then cut
// down to its frame, toolbar and strokes while drawing is off, and paints
// the drawing background (a still picture of the screen for "transparent")
// under the strokes while drawing is on.
class CbackgroundWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CbackgroundWidget(QWidget *parent = nullptr);
    ~CbackgroundWidget() override;

    // The question both sharing windows ask before they stop sending; the
    // button pressed, Cancel when the box was closed.
    static int askToStop(QWidget *parent);

    // Whether the button that brings the hidden video strip back is offered.
    void setShowPicBtnVisible(bool visible);
    bool isShowPicBtnVisible() const;
    // Takes the call's participant-count text for the management button.
    void setParticipantNumber();
    QString getParticipantNumber() const { return m_qstrParticipantNumber; }
    void muteAudio();
    void unmuteAudio();
    // The drawing background the user chose ("" while there is none).
    QString getBgColor() const { return m_strDrawBgColor; }
    // Opens the settings pop-up on the audio or the video page.
    void showSetting(bool audio);

    // Whether the canvas takes the mouse (drawing on) or clicks pass through.
    bool isCatchingMouse() const { return m_bCatching; }
    // Whether the window is translucent now, or uses the opaque fallback.
    bool isTranslucentMode() const { return m_bTranslucent; }
    // The still picture of the screen painted under the strokes without a
    // compositor; null before the first.
    QImage screenPicture() const { return m_screenPicture; }

    PaintListWidget *toolMenu() const;
    ColorWidget *colorPicker() const;
    SelectBgColorWidget *backgroundPicker() const;
    CContainerSettingsFormWidget *settingsPopup() const;
    menuAudioWidget *audioMenu() const;
    menuVideoWidget *cameraMenu() const;
    CControlVolumeWidget *volumePopup() const;
    bool isPopupShown() const;

    void setVisible(bool visible) override;

signals:
    void sigClose();
    void changeBgColor();
    void stopDraw();
    void sigClickManagerButton();
    void sigRefreshStatus();
    void sigOnShowPicture();
    void sigSettingWinClosed();

public slots:
    void slotSwitchVoice();
    void slotSwitchMic();
    void slotSwitchCamera();
    void slotClickedManagerButton();
    void slotOnBtnSelectMicClicked();
    void slotOnBtnSelectCameraClicked();
    void slotOnBtnVolumClicked();
    void slotShowAudioSetting();
    void slotShowVideoSetting();
    void stopShare();
    void entershareBtn();
    void showPaintWindow();
    void slotOnBtnShowPicture();
    // The user hid the video strip: offer the button that brings it back.
    void slotHidePicture();
    void slotConfMngtVisible(bool visible);
    void slotOnMicMutedShow(bool muted);
    void slotVolume(kd::engine::KD_DEVICE_TYPE type, kd::engine::KDVolume volume);
    void slotOnContent(kd::engine::KDContentInfo info);
    void slotOnLanguageChanged();

    void slotOnMouse();
    void onBtnPenClicked();
    void onBtnNitePenClicked();
    void onBtnEraserClicked();
    void onBtnRevokeClicked();
    void onBtnBgClicked();
    void onBtnClearClicked();
    void onBtnExitClicked();
    void onBtnSelectPenClicked();
    void onBtnSelectNitePenClicked();
    void slotBtnSaveClicked();
    void changePenColor();
    void changePenLineSize();
    void c_changeDrawBg(QString color);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void onDpiChanged() override;

private:
    void setupUi();
    void initConnections();
    void retranslateUi();
    void updateButtonTexts();
    void refreshShareVoiceStatus();
    void refreshMicStatus();
    void refreshCameraStatus();

    void hidePickers();
    // Catching: the canvas takes the mouse; otherwise clicks pass through
    // everywhere but on the toolbar.
    void setCatching(bool catching);
    void setToolCursor(const QString &icon);
    void applyPen(const QColor &color, qreal width, int mode);
    QScreen *screenUnderCursor() const;
    // Hands the engine the source chosen when sharing began, after the
    // capture thread of the old desktop system has ended.
    void stopOwnCapture(bool handBackSource);

    double scale() const;

    // What of the window shows and takes the mouse, after every change of
    // drawing, folding, size, scale or native window; the change is applied
    // once the layouts have settled.
    void scheduleWindowShape();
    void updateWindowShape();
    QRegion toolbarRegion() const;
    // What shows of the toolbar: its face and the red tab, not the strip
    // beside the tab.
    QRegion toolbarFaceRegion() const;
    QRegion strokeRegion();
    QRegion shownRegion();
    QRegion inputRegion() const;
    // Without a compositor: a still picture of the screen under the
    // overlay, taken while the overlay shows its frame and toolbar only.
    void takeScreenPicture();
    void chooseTranslucency();

    std::unique_ptr<Ui::CbackgroundWidget> ui;
    QPointer<PaintListWidget> m_pPaintList;
    QPointer<ColorWidget> m_pColorWidget;
    QPointer<SelectBgColorWidget> m_pBgColorWidget;
    std::unique_ptr<models::ScreenThread> m_pScreenThread;
    QString m_strDrawBgColor;
    // Microphone, camera, speaker and their pop-ups, as the whiteboard's
    // toolbar has them too.
    CSharingToolbarControls *m_pControls = nullptr;
    CTabClickGuard *m_pTabGuard = nullptr;

    bool m_bCatching = false;
    bool m_bTranslucent = true;
    QImage m_screenPicture;
    // The screen picture is being taken: the window shows frame and toolbar.
    bool m_bTakingPicture = false;
    // The pixels the strokes cover, in the canvas's coordinates; computed
    // again only after the strokes or the canvas's size changed.
    QRegion m_strokeRegion;
    bool m_bStrokesDirty = true;
    QTimer *m_shapeTimer = nullptr;
    QString m_qstrParticipantNumber;
};

} // namespace views
} // namespace kd_app
