#include "whiteboardselectbgwidget.h"

#include "helpers/clogformat.h"
#include "ui_whiteboardselectbgwidget.h"

namespace kd_app {
namespace views {

namespace {

// The three buttons' looks after each choice: black, white, upload.
struct CChoiceLook
{
    const char *black;
    const char *white;
    const char *select;
};

const CChoiceLook kBlackChosen = {
    "border:2px solid #4381ff;background-image: url(:/resources/images/ScreenDrawing/color_black_default.png);",
    "border:0px solid #ffffff;border-image: url(:/resources/images/ScreenDrawing/color_white_default.png);",
    "border:0px solid #4381ff;border-image: url(:/resources/images/ScreenDrawing/btn_upload.png);"};
const CChoiceLook kWhiteChosen = {
    "border:2px solid #000000;background-image: url(:/resources/images/ScreenDrawing/color_black_default.png);",
    "border:2px solid #4381ff;background-image: url(:/resources/images/ScreenDrawing/color_white_default.png);",
    "border:0px solid #4381ff;border-image: url(:/resources/images/ScreenDrawing/btn_upload.png);"};
const CChoiceLook kSelectChosen = {
    "border:0px solid #000000;background-image: url(:/resources/images/ScreenDrawing/color_black_default.png);",
    "border:0px solid #4381ff;border-image: url(:/resources/images/ScreenDrawing/color_white_default.png);",
    "border:2px solid #4381ff;border-image: url(:/resources/images/ScreenDrawing/btn_upload.png);"};

} // namespace

WhiteBoardSelectBgWidget::WhiteBoardSelectBgWidget(QWidget *parent)
    : CBaseWgt(parent), ui(std::make_unique<Ui::WhiteBoardSelectBgWidget>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    connect(ui->m_blackBg, &QPushButton::clicked, this, &WhiteBoardSelectBgWidget::slotClickedBlackBtn);
    connect(ui->m_whiteBg, &QPushButton::clicked, this, &WhiteBoardSelectBgWidget::slotClickedWhiteBtn);
    connect(ui->m_selectImg, &QPushButton::clicked, this, &WhiteBoardSelectBgWidget::slotClickedSelectBtn);
}

WhiteBoardSelectBgWidget::~WhiteBoardSelectBgWidget() = default;

void WhiteBoardSelectBgWidget::showChoice(Choice choice)
{
    const CChoiceLook &look =
        choice == Choice::Black ? kBlackChosen : (choice == Choice::White ? kWhiteChosen : kSelectChosen);
    ui->m_blackBg->setStyleSheet(QLatin1String(look.black));
    ui->m_whiteBg->setStyleSheet(QLatin1String(look.white));
    ui->m_selectImg->setStyleSheet(QLatin1String(look.select));
}

void WhiteBoardSelectBgWidget::slotClickedBlackBtn()
{
    KD_LOG << "black";
    showChoice(Choice::Black);
    emit sigClickedBlackBtn();
}

void WhiteBoardSelectBgWidget::slotClickedWhiteBtn()
{
    KD_LOG << "white";
    showChoice(Choice::White);
    emit sigClickedWhiteBtn();
}

void WhiteBoardSelectBgWidget::slotClickedSelectBtn()
{
    KD_LOG << "select";
    showChoice(Choice::Select);
    emit sigClickedSelectBtn();
}

void WhiteBoardSelectBgWidget::onDpiChanged()
{
    const double s = m_fStretchFactor;
    KD_LOG << "scale:" << s;
    setFixedSize(int(162 * s), int(70 * s));
    const int side = int(36 * s);
    for (QPushButton *button : {ui->m_blackBg, ui->m_whiteBg, ui->m_selectImg}) {
        button->setMinimumSize(side, side);
        button->setMaximumSize(side, side);
    }
}

} // namespace views
} // namespace kd_app
