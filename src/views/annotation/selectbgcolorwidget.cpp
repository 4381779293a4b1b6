#include "selectbgcolorwidget.h"

#include "helpers/clogformat.h"
#include "ui_selectbgcolorwidget.h"

namespace kd_app {
namespace views {

namespace {

const char kBlackImage[] = "url(:/resources/images/ScreenDrawing/color_black_default.png);";
const char kWhiteImage[] = "url(:/resources/images/ScreenDrawing/color_white_default.png);";
const char kClearImage[] = "url(:/resources/images/ScreenDrawing/bg_transparent_default.png);";

QString buttonStyle(const char *border, const char *property, const char *image)
{
    return QString::fromLatin1(border) + ";" + QString::fromLatin1(property) + ": " + QString::fromLatin1(image);
}

} // namespace

const char SelectBgColorWidget::BLACK_BG[] = "rgb(0,0,0,255)";
const char SelectBgColorWidget::WHITE_BG[] = "rgb(255,255,255,255)";
const char SelectBgColorWidget::CLEAR_BG[] = "rgb(255,255,255,0)";

SelectBgColorWidget::SelectBgColorWidget(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::SelectBgColorWidget>())
{
    m_pUi->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    m_pUi->clearBg->setStyleSheet(buttonStyle("border:2px solid #4381ff", "background-image", kClearImage));
    connect(m_pUi->blackBg, &QPushButton::clicked, this, &SelectBgColorWidget::selectBlackBg);
    connect(m_pUi->whiteBg, &QPushButton::clicked, this, &SelectBgColorWidget::selectWhiteBg);
    connect(m_pUi->clearBg, &QPushButton::clicked, this, &SelectBgColorWidget::selectClearBg);
}

SelectBgColorWidget::~SelectBgColorWidget() = default;

void SelectBgColorWidget::showChoice(Choice choice)
{
    switch (choice) {
    case Choice::Black:
        m_pUi->blackBg->setStyleSheet(buttonStyle("border:2px solid #4381ff", "background-image", kBlackImage));
        m_pUi->whiteBg->setStyleSheet(buttonStyle("border:2px solid #ffffff", "border-image", kWhiteImage));
        m_pUi->clearBg->setStyleSheet(buttonStyle("border:0px solid #4381ff", "background-image", kClearImage));
        break;
    case Choice::White:
        m_pUi->blackBg->setStyleSheet(buttonStyle("border:2px solid #000000", "background-image", kBlackImage));
        m_pUi->whiteBg->setStyleSheet(buttonStyle("border:2px solid #4381ff", "background-image", kWhiteImage));
        m_pUi->clearBg->setStyleSheet(buttonStyle("border:0px solid #4381ff", "background-image", kClearImage));
        break;
    case Choice::Clear:
        m_pUi->blackBg->setStyleSheet(buttonStyle("border:2px solid #000000", "background-image", kBlackImage));
        m_pUi->whiteBg->setStyleSheet(buttonStyle("border:2px solid #4381ff", "border-image", kWhiteImage));
        m_pUi->clearBg->setStyleSheet(buttonStyle("border:2px solid #4381ff", "background-image", kClearImage));
        break;
    }
}

void SelectBgColorWidget::choose(Choice choice, const char *color)
{
    showChoice(choice);
    m_strBgColor = QString::fromLatin1(color);
    emit changeDrawBg(m_strBgColor);
}

void SelectBgColorWidget::selectBlackBg()
{
    choose(Choice::Black, BLACK_BG);
}

void SelectBgColorWidget::selectWhiteBg()
{
    choose(Choice::White, WHITE_BG);
}

void SelectBgColorWidget::selectClearBg()
{
    choose(Choice::Clear, CLEAR_BG);
}

void SelectBgColorWidget::resetToClear()
{
    showChoice(Choice::Clear);
    m_strBgColor = QString::fromLatin1(CLEAR_BG);
}

void SelectBgColorWidget::onDpiChanged()
{
    KD_LOG << "WhiteBoardSelectBgWidget onDpiChanged";
    const double s = m_fStretchFactor;
    setFixedSize(int(162 * s), int(70 * s));
    const int side = int(36 * s);
    for (QPushButton *button : {m_pUi->blackBg, m_pUi->whiteBg, m_pUi->clearBg}) {
        button->setMinimumSize(side, side);
        button->setMaximumSize(side, side);
    }
}

} // namespace views
} // namespace kd_app
