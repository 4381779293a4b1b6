#pragma once

#include <QString>
#include <QWidget>

namespace kd_app {
namespace views {

// The window under the screen drawing while this side shares its screen:
// transparent, or the drawing background the user chose.
class WhiteBoard : public QWidget
{
    Q_OBJECT

public:
    explicit WhiteBoard(QWidget *parent);
    ~WhiteBoard() override;

    void setBackgroundColor(const QString &colour);
    // Transparent again: the shared screen shows through.
    void clearBackground();
    QString getBackgroundColor() const { return m_qstrBackgroundColor; }

private:
    QWidget *m_pBg = nullptr;
    QString m_qstrBackgroundColor;
};

} // namespace views
} // namespace kd_app
