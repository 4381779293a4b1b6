#include "colorwidget.h"

#include <QIcon>

#include "helpers/clogformat.h"
#include "ui_colorwidget.h"

namespace kd_app {
namespace views {

namespace {

const char kImageFolder[] = ":/resources/images/ScreenDrawing/";
const char kChosenHex[] = "#4381ff";
constexpr int kWhite = 1;
constexpr int kYellow = 4;
constexpr int kOrange = 5;
// The order in which a refresh looks for the served colour, by button.
constexpr int kRefreshOrder[] = {0, 1, 2, 3, 5, 4, 6, 7};

QString colorImage(const PaletteColor &color)
{
    return QString::fromLatin1(kImageFolder) + "color_" + QString::fromLatin1(color.name) + "_default.png";
}

QString sizeIcon(bool chosen, int number)
{
    return QString::fromLatin1(kImageFolder) + (chosen ? "size_click_" : "size_default_") + QString::number(number) +
           ".png";
}

QColor toColor(const PaletteColor &color, int alpha)
{
    return QColor(color.red, color.green, color.blue, alpha);
}

} // namespace

QColor penColor(int index)
{
    return toColor(PEN_PALETTE.at(size_t(index)), PEN_ALPHA);
}

QColor markerColor(int index)
{
    return toColor(MARKER_PALETTE.at(size_t(index)), MARKER_ALPHA);
}

ColorWidget::ColorWidget(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::ColorWidget>()), m_penColor(penColor(0)),
      m_markerColor(markerColor(0))
{
    m_pUi->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    m_pUi->color_black->setStyleSheet(QStringLiteral("border:2px solid #4381ff;background-image: url(") +
                                      colorImage(PEN_PALETTE[0]) + QStringLiteral(");"));

    connect(m_pUi->color_black, &QPushButton::clicked, this, &ColorWidget::onClickedBlackColor);
    connect(m_pUi->color_white, &QPushButton::clicked, this, &ColorWidget::onClickedWhiteColor);
    connect(m_pUi->color_blue, &QPushButton::clicked, this, &ColorWidget::onClickedBlueColor);
    connect(m_pUi->color_green, &QPushButton::clicked, this, &ColorWidget::onClickedGreenColor);
    connect(m_pUi->color_yellow, &QPushButton::clicked, this, &ColorWidget::onClickedYellowColor);
    connect(m_pUi->color_orange, &QPushButton::clicked, this, &ColorWidget::onClickedOrangleColor);
    connect(m_pUi->color_red, &QPushButton::clicked, this, &ColorWidget::onClickedRedColor);
    connect(m_pUi->color_purple, &QPushButton::clicked, this, &ColorWidget::onClickedPurpleColor);
    connect(m_pUi->size_1, &QPushButton::clicked, this, &ColorWidget::onButtonSize1Clicked);
    connect(m_pUi->size_2, &QPushButton::clicked, this, &ColorWidget::onButtonSize2Clicked);
    connect(m_pUi->size_3, &QPushButton::clicked, this, &ColorWidget::onButtonSize3Clicked);
    connect(m_pUi->size_4, &QPushButton::clicked, this, &ColorWidget::onButtonSize4Clicked);
}

ColorWidget::~ColorWidget() = default;

std::array<QPushButton *, PALETTE_SIZE> ColorWidget::colorButtons() const
{
    return {{m_pUi->color_black, m_pUi->color_white, m_pUi->color_blue, m_pUi->color_green, m_pUi->color_yellow,
             m_pUi->color_orange, m_pUi->color_red, m_pUi->color_purple}};
}

std::array<QPushButton *, 4> ColorWidget::sizeButtons() const
{
    return {{m_pUi->size_1, m_pUi->size_2, m_pUi->size_3, m_pUi->size_4}};
}

QColor ColorWidget::getColor() const
{
    return m_bMarkerMode ? m_markerColor : m_penColor;
}

quint16 ColorWidget::getSize() const
{
    return m_bMarkerMode ? m_nMarkerSize : m_nPenSize;
}

void ColorWidget::chooseColor(int index)
{
    if (m_bMarkerMode) {
        m_markerColor = markerColor(index);
    } else {
        m_penColor = penColor(index);
    }
    const std::array<PaletteColor, PALETTE_SIZE> &palette = m_bMarkerMode ? MARKER_PALETTE : PEN_PALETTE;
    const std::array<QPushButton *, PALETTE_SIZE> buttons = colorButtons();
    for (int i = 0; i < PALETTE_SIZE; ++i) {
        const PaletteColor &color = palette[size_t(i)];
        const QString border = QString::fromLatin1(i == index ? kChosenHex : color.hex);
        QString style =
            "border:2px solid " + border + ";background-image: url(" + colorImage(color) + QStringLiteral(");");
        // White on the pen palette needs its own look: a white border on a
        // white picture vanishes, and the chosen one is drawn plain.
        if (!m_bMarkerMode && i == kWhite) {
            style = i == index ? QStringLiteral("border:2px solid #4381ff;background-color: #ffffff;")
                               : "border:2px solid #ffffff;border-image: url(" + colorImage(color) + ");";
        }
        if (!m_bMarkerMode && index == kYellow && i == kOrange) {
            style = "border:2px solid #ff8517;border-image: url(" + colorImage(color) + ");";
        }
        buttons[size_t(i)]->setStyleSheet(style);
    }
    emit changeColor();
}

void ColorWidget::chooseSize(int index)
{
    if (m_bMarkerMode) {
        m_nMarkerSize = MARKER_SIZES[size_t(index)];
    } else {
        m_nPenSize = PEN_SIZES[size_t(index)];
    }
    const std::array<QPushButton *, 4> buttons = sizeButtons();
    for (int i = 0; i < 4; ++i) {
        buttons[size_t(i)]->setIcon(QIcon(sizeIcon(i == index, i + 1)));
    }
    emit changeSize();
}

void ColorWidget::refreshSelectedState()
{
    const QColor color = getColor();
    for (int index : kRefreshOrder) {
        if (color == (m_bMarkerMode ? markerColor(index) : penColor(index))) {
            chooseColor(index);
            break;
        }
    }
    const quint16 lineSize = getSize();
    const std::array<quint16, 4> &sizes = m_bMarkerMode ? MARKER_SIZES : PEN_SIZES;
    for (int i = 0; i < 4; ++i) {
        if (sizes[size_t(i)] == lineSize) {
            chooseSize(i);
            break;
        }
    }
}

void ColorWidget::onClickedBlackColor()
{
    chooseColor(0);
}

void ColorWidget::onClickedWhiteColor()
{
    chooseColor(1);
}

void ColorWidget::onClickedBlueColor()
{
    chooseColor(2);
}

void ColorWidget::onClickedGreenColor()
{
    chooseColor(3);
}

void ColorWidget::onClickedYellowColor()
{
    chooseColor(4);
}

void ColorWidget::onClickedOrangleColor()
{
    chooseColor(5);
}

void ColorWidget::onClickedRedColor()
{
    chooseColor(6);
}

void ColorWidget::onClickedPurpleColor()
{
    chooseColor(7);
}

void ColorWidget::onButtonSize1Clicked()
{
    chooseSize(0);
}

void ColorWidget::onButtonSize2Clicked()
{
    chooseSize(1);
}

void ColorWidget::onButtonSize3Clicked()
{
    chooseSize(2);
}

void ColorWidget::onButtonSize4Clicked()
{
    chooseSize(3);
}

void ColorWidget::onDpiChanged()
{
    KD_LOG << "ColorWidget onDpiChanged";
    const double s = m_fStretchFactor;
    setFixedSize(int(248 * s), int(184 * s));
    const int side = int(36 * s);
    for (QPushButton *button : colorButtons()) {
        button->setMinimumSize(side, side);
        button->setMaximumSize(side, side);
    }
    for (QPushButton *button : sizeButtons()) {
        button->setMinimumSize(side, side);
        button->setMaximumSize(side, side);
    }
}

} // namespace views
} // namespace kd_app
