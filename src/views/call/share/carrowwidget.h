#pragma once

#include <QWidget>

class QLabel;

namespace kd_app {
namespace views {

// A hint bubble: a white rounded box of text whose arrow points down at
// the button it explains.
class CArrowWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ARROW_HEIGHT = 5;
    static constexpr int ARROW_WIDTH = 8;
    static constexpr int CORNER_RADIUS = 3;

    explicit CArrowWidget(QWidget *parent = nullptr);
    ~CArrowWidget() override;

    void setText(const QString &text);
    QString text() const;
    // Without a compositor a translucent window shows black where it paints
    // nothing; the bubble then fills its whole rectangle instead.
    void setOpaque(bool opaque);
    bool isOpaque() const { return m_bOpaque; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_label = nullptr;
    bool m_bOpaque = false;
};

} // namespace views
} // namespace kd_app
