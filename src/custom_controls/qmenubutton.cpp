#include "qmenubutton.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 88;
constexpr int kHeight = 54;
constexpr int kIconSize = 28;
constexpr int kTextHeight = 15;
// Centres the 28-pixel icon in the 88-pixel button.
constexpr int kIconLeftMargin = 30;

} // namespace

QMenuButton::QMenuButton(QWidget *parent)
    : QPushButton(parent), m_pTextLabel(new QLabel(this)), m_pIconLabel(new QLabel(this))
{
    setFixedSize(kWidth, kHeight);
    setStyleSheet(QStringLiteral("border:none"));
    m_pIconLabel->setFixedSize(kIconSize, kIconSize);
    showIcon(m_qstrNormalIcon);
    m_pTextLabel->setFixedHeight(kTextHeight);
    m_pTextLabel->setStyleSheet(QStringLiteral("color:white; font-size: 12px;"));
    m_pTextLabel->setAlignment(Qt::AlignCenter);

    auto *iconLayout = new QVBoxLayout;
    iconLayout->setContentsMargins(kIconLeftMargin, 0, 0, 0);
    iconLayout->addWidget(m_pIconLabel);
    auto *textLayout = new QVBoxLayout;
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->setSpacing(0);
    textLayout->addWidget(m_pTextLabel);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addLayout(iconLayout);
    outer->addLayout(textLayout);
}

void QMenuButton::setText(const QString &text)
{
    m_pTextLabel->setText(text);
}

QString QMenuButton::text() const
{
    return m_pTextLabel->text();
}

void QMenuButton::setNormalIcon(const QString &file)
{
    m_qstrNormalIcon = file;
    showIcon(file);
}

void QMenuButton::setActiveIcon(const QString &file)
{
    m_qstrActiveIcon = file;
}

void QMenuButton::setLook(bool checkable, const QString &normalIcon, const QString &activeIcon)
{
    m_bCheckable = checkable;
    setNormalIcon(normalIcon);
    setActiveIcon(activeIcon);
    setNormalState();
}

void QMenuButton::setNormalState()
{
    showIcon(m_qstrNormalIcon);
    setTextColour(TextColour::White);
    m_nState = 0;
    m_bActive = false;
}

void QMenuButton::setActiveState()
{
    showIcon(m_qstrActiveIcon);
    setTextColour(TextColour::Red);
    m_nState = 2;
    m_bActive = true;
}

void QMenuButton::updateDpiScale(double scale)
{
    if (scale == 1.0) {
        m_qstrFontSize = QStringLiteral("12px");
    } else if (scale == 1.5) {
        m_qstrFontSize = QStringLiteral("18px");
    } else {
        m_qstrFontSize = QStringLiteral("24px");
    }
    setTextColour(m_bCheckable && m_nState != 0 ? TextColour::Red : TextColour::White);
}

QString QMenuButton::textStyle() const
{
    return m_pTextLabel->styleSheet();
}

void QMenuButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_bPressed = true;
    m_nStateBeforePress = m_nState;
    m_bActiveBeforePress = m_bActive;
    if (!m_bCheckable) {
        showIcon(m_qstrActiveIcon);
        setTextColour(TextColour::Blue);
        m_nState = 2;
        return;
    }
    if (m_nState == 2) {
        setNormalState();
    } else {
        setActiveState();
    }
}

void QMenuButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_bPressed) {
        return;
    }
    if (!rect().contains(event->pos())) {
        // The user moved off the button to take the press back: a toggle
        // shows what is real again instead of a state nobody asked for.
        if (m_bCheckable) {
            m_bPressed = false;
            if (m_bActiveBeforePress) {
                setActiveState();
            } else {
                setNormalState();
            }
            m_nState = m_nStateBeforePress;
        }
        return;
    }
    m_bPressed = false;
    if (!m_bCheckable) {
        m_nState = 1;
        showIcon(m_qstrNormalIcon);
        setTextColour(TextColour::White);
    }
    emit clicked(false);
}

void QMenuButton::enterEvent(QEvent *event)
{
    Q_UNUSED(event)
    setStyleSheet(QStringLiteral("background-color:#474747;"));
    if (!m_bCheckable) {
        m_nState = 1;
        setTextColour(TextColour::Grey);
    }
    update();
}

void QMenuButton::leaveEvent(QEvent *event)
{
    Q_UNUSED(event)
    if (!m_bCheckable) {
        m_nState = 0;
        showIcon(m_qstrNormalIcon);
        setTextColour(TextColour::White);
    } else if (m_nState != 2) {
        showIcon(m_qstrNormalIcon);
        setTextColour(TextColour::White);
    }
    setStyleSheet(QStringLiteral("background-color: rgb(28, 30, 32);"));
}

void QMenuButton::showIcon(const QString &file)
{
    m_qstrShownIcon = file;
    m_pIconLabel->setStyleSheet(QStringLiteral("QLabel{border-image:url(") + file + QStringLiteral(")}"));
}

void QMenuButton::setTextColour(TextColour colour)
{
    QString value;
    switch (colour) {
    case TextColour::White:
        value = QStringLiteral("white");
        break;
    case TextColour::Grey:
        value = QStringLiteral("#919191");
        break;
    case TextColour::Blue:
        value = QStringLiteral("#4381ff");
        break;
    case TextColour::Red:
        value = QStringLiteral("#ff4747");
        break;
    }
    m_pTextLabel->setStyleSheet(QStringLiteral("color:") + value + QStringLiteral("; font-size: ") + m_qstrFontSize +
                                QStringLiteral(";"));
}
