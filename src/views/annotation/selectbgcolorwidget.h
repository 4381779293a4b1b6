#pragma once

#include <memory>

#include <QString>

#include "views/base/cbasewgt.h"

namespace Ui {
class SelectBgColorWidget;
}

namespace kd_app {
namespace views {

// The pop-up from which the user picks what lies behind the annotation: a
// black or white board, or the shared screen itself. It deletes itself when
// closed.
class SelectBgColorWidget : public CBaseWgt
{
    Q_OBJECT

public:
    static const char BLACK_BG[];
    static const char WHITE_BG[];
    static const char CLEAR_BG[];

    explicit SelectBgColorWidget(QWidget *parent = nullptr);
    ~SelectBgColorWidget() override;

    // Back to the transparent choice without a signal: the owner reads
    // m_strBgColor afterwards.
    void resetToClear();

    // Colour text of the last choice in style-sheet form; empty before any.
    QString m_strBgColor;

signals:
    void changeDrawBg(QString color);

public slots:
    void selectBlackBg();
    void selectWhiteBg();
    void selectClearBg();

protected:
    void onDpiChanged() override;

private:
    enum class Choice { Black, White, Clear };
    void showChoice(Choice choice);
    void choose(Choice choice, const char *color);

    std::unique_ptr<Ui::SelectBgColorWidget> m_pUi;
};

} // namespace views
} // namespace kd_app
