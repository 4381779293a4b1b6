#pragma once

#include <memory>

#include <QString>
#include <QWidget>

namespace Ui {
class Cmenubutton;
}

// One entry of the annotation tool menu: an icon over a text. A toggle entry
// (a tool) flips between selected and not on each press; a plain entry shows
// its pressed look while held. The click is reported on the press.
class Cmenubutton : public QWidget
{
    Q_OBJECT

public:
    explicit Cmenubutton(QWidget *parent = nullptr);
    ~Cmenubutton() override;

    // Icon paths without their ending: the ending follows the display scale.
    void setImagePath(const QString &path);
    void setClickImagePath(const QString &path);
    void setText(const QString &text);
    QString text() const;
    void setSelectedStyle();
    void setUnselectedStyle();
    void onDpiUpDate(double scale);

    // The icon file shown now and the text label's style, for the owner's checks.
    QString shownIcon() const { return m_qstrShownIcon; }
    QString textStyle() const;
    QString iconSuffix() const { return m_qstrSuffix; }

    bool m_bCheckable = false;
    int m_nState = 0;

signals:
    void btnClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void showIcon(const QString &path);
    void setTextBlue(bool blue);
    void setBackground(const QString &style);

    std::unique_ptr<Ui::Cmenubutton> m_pUi;
    bool m_bPressed = false;
    QString m_qstrImagePath;
    QString m_qstrClickImagePath;
    QString m_qstrSuffix = QStringLiteral(".png");
    QString m_qstrShownIcon;
    int m_nFontPx = 10;
    double m_fScale = 1.0;
};
