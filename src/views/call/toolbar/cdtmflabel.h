#pragma once

#include <QLabel>

namespace kd_app {
namespace views {

// One key of the dial pad: its text in a circle that lights up under the
// mouse; a click reports the key's index.
class CDTMFLabel : public QLabel
{
    Q_OBJECT

public:
    CDTMFLabel(const int &index, const QString &text, QWidget *parent);
    ~CDTMFLabel() override;

    // A scale not above 0 counts as 1.
    void setScale(double scale);

    int index() const { return m_nIndex; }
    QString keyText() const { return m_strText; }
    double scale() const { return m_fScale; }
    // The key text's pixel size at the current scale.
    int keyFontPixelSize() const;

signals:
    void signal_selectInput(int index);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_nIndex = 0;
    QString m_strText;
    bool m_bHover = false;
    double m_fScale = 1.0;
};

} // namespace views
} // namespace kd_app
