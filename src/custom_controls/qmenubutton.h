#pragma once

#include <QPushButton>
#include <QString>

class QLabel;

// The sharing toolbars' button: an icon over a short text, restyled on hover,
// press and release, and optionally a toggle whose active look is red. It
// takes its own mouse events and reports a click through the inherited
// clicked(false) on a release inside it.
class QMenuButton : public QPushButton
{
public:
    explicit QMenuButton(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;
    void setNormalIcon(const QString &file);
    void setActiveIcon(const QString &file);
    void setNormalState();
    void setActiveState();
    // A toggle (checkable) or not, its two icons, shown in its normal state.
    void setLook(bool checkable, const QString &normalIcon, const QString &activeIcon);
    void updateDpiScale(double scale);

    // What the icon label shows now: the normal or the active icon file.
    QString shownIcon() const { return m_qstrShownIcon; }
    QString textStyle() const;

    // Owners set these directly, as the toolbars' set-up expects.
    int m_nState = 0;
    bool m_bCheckable = false;
    bool m_bActive = false;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    enum class TextColour { White, Grey, Blue, Red };

    void showIcon(const QString &file);
    void setTextColour(TextColour colour);

    QLabel *m_pTextLabel = nullptr;
    QLabel *m_pIconLabel = nullptr;
    bool m_bPressed = false;
    // The look and state before a press, put back when it is released outside.
    int m_nStateBeforePress = 0;
    bool m_bActiveBeforePress = false;
    QString m_qstrNormalIcon;
    QString m_qstrActiveIcon;
    QString m_qstrShownIcon;
    QString m_qstrFontSize = QStringLiteral("12px");
};
