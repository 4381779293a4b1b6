#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class WhiteBoardSelectBgWidget;
}

namespace kd_app {
namespace views {

// The whiteboard's background picker: black, white, or a picture of the
// user's. The chosen button is outlined and the picker stays open; the
// whiteboard window turns the signals into page commands and the upload.
class WhiteBoardSelectBgWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit WhiteBoardSelectBgWidget(QWidget *parent = nullptr);
    ~WhiteBoardSelectBgWidget() override;

signals:
    void sigClickedBlackBtn();
    void sigClickedWhiteBtn();
    void sigClickedSelectBtn();

public slots:
    void slotClickedBlackBtn();
    void slotClickedWhiteBtn();
    void slotClickedSelectBtn();

protected:
    void onDpiChanged() override;

private:
    enum class Choice { Black, White, Select };
    void showChoice(Choice choice);

    std::unique_ptr<Ui::WhiteBoardSelectBgWidget> ui;
};

} // namespace views
} // namespace kd_app
