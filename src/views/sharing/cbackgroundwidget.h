#pragma once

#include <QString>

#include "views/base/cbasewgt.h"

namespace kd_app {
namespace views {

// The top-most window laid over the shared screen while this side sends
// content; the window manager takes it as the active main window while it is
// up and no other main window is. The layout engine creates, places and
// closes it and listens to its signals; its drawing tools are the sharing
// overlay's own.
class CbackgroundWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CbackgroundWidget(QWidget *parent);
    ~CbackgroundWidget() override;

    // Whether the button that brings the hidden video strip back is offered.
    void setShowPicBtnVisible(bool visible);
    bool isShowPicBtnVisible() const { return m_bShowPicBtnVisible; }
    // Takes the call's attendee count for the overlay's toolbar.
    void setParticipantNumber();
    QString getParticipantNumber() const { return m_qstrParticipantNumber; }
    void muteAudio();
    void unmuteAudio();
    // The drawing background the user chose ("" while there is none).
    QString getBgColor() const { return m_qstrBgColor; }

signals:
    void sigClickManagerButton();
    void sigRefreshStatus();
    void sigSettingWinClosed();
    void sigOnShowPicture();
    void sigClose();
    void changeBgColor();
    void stopDraw();

public slots:
    // The user hid the video strip: offer the button that brings it back.
    void slotHidePicture();

private:
    bool m_bShowPicBtnVisible = false;
    QString m_qstrParticipantNumber;
    QString m_qstrBgColor;
};

} // namespace views
} // namespace kd_app
