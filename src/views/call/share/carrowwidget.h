#pragma once

#include <QPainterPath>
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
    // Text size and margins for the display scale (1 = design size).
    void setScale(double scale);
    QString text() const;
    // Without a compositor a translucent window shows black where it paints
    // nothing; the bubble then paints opaque, cut to its outline. Showing
    // the bubble chooses by whether a compositor runs at that moment.
    void setOpaque(bool opaque);
    void setVisible(bool visible) override;
    bool isOpaque() const { return m_bOpaque; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPainterPath outline() const;
    void updateMask();

    QLabel *m_label = nullptr;
    bool m_bOpaque = false;
};

} // namespace views
} // namespace kd_app
