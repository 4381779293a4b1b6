#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QSpacerItem;
class QVBoxLayout;

// The guest's "Exit" at the foot of the home window's operation bar: a
// painted door over its caption.
class CHomeExitButton : public QWidget
{
    Q_OBJECT

public:
    explicit CHomeExitButton(QWidget *parent = nullptr);
    ~CHomeExitButton() override;

    void updateDpi(double scale);
    void retranslate();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_pLayout = nullptr;
    QSpacerItem *m_pTopSpacer = nullptr;
    QLabel *m_pCaption = nullptr;
    QSpacerItem *m_pBottomSpacer = nullptr;
    QPixmap m_normal;
    QPixmap m_hover;
    bool m_bHovered = false;
    double m_fScale = 0;
};
