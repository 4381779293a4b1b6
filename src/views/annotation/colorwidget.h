#pragma once

#include <array>
#include <memory>

#include <QColor>

#include "views/base/cbasewgt.h"

namespace Ui {
class ColorWidget;
}

class QPushButton;

namespace kd_app {
namespace views {

// One colour of the pen or marker palette and the name its picture is filed
// under ("color_<name>_default.png" among the drawing images).
struct PaletteColor
{
    const char *name;
    int red;
    int green;
    int blue;
    const char *hex;
};

constexpr int PALETTE_SIZE = 8;
constexpr int PEN_ALPHA = 255;
constexpr int MARKER_ALPHA = 80;

// The two palettes of annotation, in the order of the picker's buttons
// (black, white, blue, green, yellow, orange, red, purple by button); the
// canvas, the sharing overlay and the whiteboard draw with them.
constexpr std::array<PaletteColor, PALETTE_SIZE> PEN_PALETTE = {{
    {"black", 0, 0, 0, "#000000"},
    {"white", 255, 255, 255, "#ffffff"},
    {"blue", 0, 0, 255, "#0000ff"},
    {"green", 0, 249, 0, "#00f900"},
    {"yellow", 255, 252, 0, "#fffc00"},
    {"orange", 255, 133, 23, "#ff8517"},
    {"red", 255, 0, 0, "#ff0000"},
    {"purple", 255, 64, 255, "#ff40ff"},
}};
constexpr std::array<PaletteColor, PALETTE_SIZE> MARKER_PALETTE = {{
    {"yellow", 255, 252, 0, "#fffc00"},
    {"green", 0, 249, 0, "#00f900"},
    {"lake", 0, 253, 255, "#00fdff"},
    {"purple", 255, 64, 255, "#ff40ff"},
    {"orange", 255, 133, 23, "#ff8517"},
    {"light-green", 170, 228, 100, "#aae464"},
    {"light-blue", 169, 216, 255, "#a9d8ff"},
    {"pink", 255, 172, 213, "#ffacd5"},
}};
constexpr std::array<quint16, 4> PEN_SIZES = {{3, 6, 9, 12}};
constexpr std::array<quint16, 4> MARKER_SIZES = {{4, 8, 12, 16}};

QColor penColor(int index);
QColor markerColor(int index);

// The pop-up from which the user picks the colour and line size of the pen
// and of the marker; it keeps a choice for each, and serves the marker while
// m_bMarkerMode is set. It deletes itself when closed.
class ColorWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit ColorWidget(QWidget *parent = nullptr);
    ~ColorWidget() override;

    QColor getColor() const;
    quint16 getSize() const;
    // Shows the served tool's choice again and reports it as after a click.
    void refreshSelectedState();

    bool m_bMarkerMode = false;

signals:
    void changeColor();
    void changeSize();

public slots:
    void onClickedBlackColor();
    void onClickedWhiteColor();
    void onClickedBlueColor();
    void onClickedGreenColor();
    void onClickedYellowColor();
    void onClickedOrangleColor();
    void onClickedRedColor();
    void onClickedPurpleColor();
    void onButtonSize1Clicked();
    void onButtonSize2Clicked();
    void onButtonSize3Clicked();
    void onButtonSize4Clicked();

protected:
    void onDpiChanged() override;

private:
    void chooseColor(int index);
    void chooseSize(int index);
    std::array<QPushButton *, PALETTE_SIZE> colorButtons() const;
    std::array<QPushButton *, 4> sizeButtons() const;

    std::unique_ptr<Ui::ColorWidget> m_pUi;
    quint16 m_nPenSize = PEN_SIZES[0];
    quint16 m_nMarkerSize = MARKER_SIZES[0];
    QColor m_penColor;
    QColor m_markerColor;
};

} // namespace views
} // namespace kd_app
