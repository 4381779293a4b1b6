#pragma once

#include <QString>

class QWidget;

namespace kd_app {
namespace views {

// What the layout engine asks of the call toolbar it lays over the bottom
// of the video. The engine places, shows, hides and re-parents the
// toolbar's window itself; everything else goes through these operations.
// The engine connects to the window's signals by their names:
// sigChangeLayoutMode(enums::LayoutModeType), sigIsLocalMicEnabled(bool),
// sigrequestSpeakPrompt(), sigSettingWinClosed(), sigOnShowPicture(), and
// to its slot slotHidePicture().
class ILayoutToolbar
{
public:
    virtual ~ILayoutToolbar() = default;

    // The toolbar's own top-level window; the engine owns it.
    virtual QWidget *toolbarWindow() = 0;

    virtual void setLayoutMode(int mode) = 0;
    virtual void setAudioOnly(bool audioOnly) = 0;
    virtual void setIsLocalRemoteMuted(bool muted) = 0;
    virtual void updateMoreModeVisibility() = 0;
    virtual void setShowPicButtonVisible(bool visible) = 0;
    // Whether a popup of the toolbar is open, so that it must stay shown.
    virtual bool isAnyPopupVisible() const = 0;
    // Whether a prompt without an owner window may be shown now.
    virtual bool getShowPromptFlag() const = 0;
    virtual bool isMicButtonChecked() const = 0;
    virtual void closeSelectShareContentForm() = 0;
    virtual void closeWindows() = 0;
    virtual void openManagerWindow() = 0;
    virtual void initBtnStatus() = 0;
    virtual void checkMicStatus() = 0;
    virtual void muteAudio() = 0;
    virtual void UnmuteAudio() = 0;
};

} // namespace views
} // namespace kd_app
