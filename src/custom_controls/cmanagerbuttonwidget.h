#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class CManagerButtonWidget;
}

// The conference-management button of the sharing toolbar: an icon, the
// title and the number of attendees beside the icon.
class CManagerButtonWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CManagerButtonWidget(QWidget *parent = nullptr);
    ~CManagerButtonWidget() override;

    void setTitle(const QString &title);
    void setNumber(const QString &number);
    void onDpiChanged(double scale);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    std::unique_ptr<Ui::CManagerButtonWidget> m_pUi;
};
