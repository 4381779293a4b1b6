#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class Button_share;
}

// The red tab under a sharing toolbar. Every time the mouse enters it, its
// arrow turns over and it says so; the toolbar decides whether to fold.
class Button_share : public QWidget
{
    Q_OBJECT

public:
    explicit Button_share(QWidget *parent = nullptr);
    ~Button_share() override;

    QString arrowStyle() const;

signals:
    void mySignal();

protected:
    void enterEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::Button_share> m_pUi;
    bool m_bFlipped = false;
};
