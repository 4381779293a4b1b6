#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class CimageWidget;
}

// The small arrow beside the Pen and Marker entries of the tool menu that
// opens the colour and size picker. It reports the click on the press.
class CimageWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CimageWidget(QWidget *parent = nullptr);
    ~CimageWidget() override;

    // The arrow's picture for a display scale, at its full size: the style
    // sheet's picture keeps its size at every scale, and Qt would draw the
    // "@2x" file at half its size.
    void setScale(double scale);

signals:
    void btnClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::CimageWidget> m_pUi;
    bool m_bPressed = false;
};
