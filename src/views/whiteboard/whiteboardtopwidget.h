#pragma once

#include "views/base/cbasewgt.h"

class QPushButton;

namespace kd_app {
namespace views {

// The top bar of the whiteboard window: the button that brings the hidden
// video strip back, and the way to close the board.
class WhiteBoardTopWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit WhiteBoardTopWidget(QWidget *parent);
    ~WhiteBoardTopWidget() override;

    // true offers the button that shows the video strip again.
    void updateShowPicture(bool stripHidden);
    bool isShowPictureVisible() const;

signals:
    void sigOnShowPicture();
    void sigSettingWinClosed();
    void sigClose();

public slots:
    void slotHidePicture();

private:
    QPushButton *m_pBtnShowPic = nullptr;
    QPushButton *m_pBtnClose = nullptr;
};

} // namespace views
} // namespace kd_app
