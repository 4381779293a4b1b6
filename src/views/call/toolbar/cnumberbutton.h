#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class CNumberButton;
}

// The toolbar's "Management" button: an icon over a caption that opens the
// conference-management window.
class CNumberButton : public QWidget
{
    Q_OBJECT

public:
    explicit CNumberButton(QWidget *parent);
    ~CNumberButton() override;

    void setScale(double scale);

    QWidget *image() const;
    QWidget *caption() const;
    QWidget *number() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::CNumberButton> ui;
};
