#pragma once

// The layout engine hosted as the call window hosts it: a frame of its own
// on the screen with a title bar, the engine filling it below, the toolbar a
// recording one, and calls driven by real events of our engine.

#include <QtTest>

#include "clientfixture.h"
#include "views/base/cbasedlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/ilayouttoolbar.h"

namespace layoutfixture {

namespace views = kd_app::views;
// The toolbar's signal names its argument type as the toolbar does.
namespace enums = kd_app::enums;

// A toolbar that remembers what the engine told it, and answers what the
// test sets.
class CRecordingToolbar : public views::CBaseDlg, public views::ILayoutToolbar
{
    Q_OBJECT

public:
    CRecordingToolbar() : CBaseDlg(nullptr)
    {
        setObjectName("CLayoutToolbarDlg");
        m_bCenterOnFirstShow = false;
        setFixedHeight(60);
        resize(1182, 60);
    }

    QWidget *toolbarWindow() override { return this; }
    void setLayoutMode(int mode) override { layoutMode = mode; }
    void setAudioOnly(bool on) override { audioOnly = on; }
    void setIsLocalRemoteMuted(bool muted) override { remoteMuted = muted; }
    void updateMoreModeVisibility() override { ++moreRefreshes; }
    void setShowPicButtonVisible(bool visible) override { showPicVisible = visible; }
    bool isAnyPopupVisible() const override { return popupOpen; }
    bool getShowPromptFlag() const override { return promptFlag; }
    bool isMicButtonChecked() const override { return micChecked; }
    void closeSelectShareContentForm() override { ++pickerCloses; }
    void closeWindows() override { ++windowCloses; }
    void openManagerWindow() override { ++managerOpens; }
    void initBtnStatus() override { ++buttonRefreshes; }
    void checkMicStatus() override { ++micChecks; }
    void muteAudio() override { ++mutes; }
    void UnmuteAudio() override { ++unmutes; }

    int layoutMode = -1;
    bool audioOnly = false;
    bool remoteMuted = true;
    bool showPicVisible = false;
    bool popupOpen = false;
    bool promptFlag = true;
    bool micChecked = true;
    int moreRefreshes = 0;
    int pickerCloses = 0;
    int windowCloses = 0;
    int managerOpens = 0;
    int buttonRefreshes = 0;
    int micChecks = 0;
    int mutes = 0;
    int unmutes = 0;

signals:
    void sigChangeLayoutMode(enums::LayoutModeType layoutMode);
    void sigIsLocalMicEnabled(bool isLocalMicEnabled);
    void sigrequestSpeakPrompt();
    void sigOnShowPicture();
    void sigSettingWinClosed();

public slots:
    void slotHidePicture() { showPicVisible = true; }
};

// The frame's stand-in: a top-level with a title bar of 40 px and a 2-px
// border, the engine its child, told of every move and resize as the call
// window tells it.
class CHostFrame : public QWidget
{
public:
    static constexpr int TITLE_HEIGHT = 40;

    CHostFrame()
    {
        setWindowFlags(Qt::FramelessWindowHint);
        views::CLayoutPeopleSettingDlg::setToolbarFactory([this] {
            toolbar = new CRecordingToolbar;
            return toolbar;
        });
        engine = new views::CLayoutPeopleSettingDlg(this);
        views::CLayoutPeopleSettingDlg::setToolbarFactory(nullptr);
        engine->setTitleBarHeight(TITLE_HEIGHT);
        engine->move(2, TITLE_HEIGHT + 2);
        engine->setRemoteVideoWindows();
    }

    ~CHostFrame() override { delete engine; }

    // Places the frame and tells the engine, as the call window does.
    void place(const QRect &geometry)
    {
        setGeometry(geometry);
        engine->onParentResized(geometry);
        engine->onParentMoved(geometry.x(), geometry.y());
    }

    views::CLayoutPeopleSettingDlg *engine = nullptr;
    CRecordingToolbar *toolbar = nullptr;
};

} // namespace layoutfixture
