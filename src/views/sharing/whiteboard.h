#pragma once

#include <memory>

#include <QString>
#include <QWidget>

namespace Ui {
class WhiteBoard;
}

namespace kd_app {
namespace views {

// The window under the screen drawing while this side shares its screen:
// transparent, so that the shared screen shows, or the black or white board
// the user chose to draw on. It needs a compositor to be transparent;
// without one it stays hidden and the overlay paints the board itself.
class WhiteBoard : public QWidget
{
    Q_OBJECT

public:
    explicit WhiteBoard(QWidget *parent = nullptr);
    ~WhiteBoard() override;

    // A colour text as the background picker gives it ("rgb(0,0,0,255)").
    void setBackgroundColor(const QString &colour);
    // Transparent again: the shared screen shows through.
    void clearBackground();
    // The colour last set; empty after clearBackground.
    QString getBackgroundColor() const { return m_qstrBackgroundColor; }

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool event(QEvent *event) override;

private:
    void passClicksThrough();

    std::unique_ptr<Ui::WhiteBoard> m_pUi;
    QString m_qstrBackgroundColor;
};

} // namespace views
} // namespace kd_app
