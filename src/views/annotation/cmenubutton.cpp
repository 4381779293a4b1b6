#include "cmenubutton.h"

#include <QMouseEvent>

#include "helpers/clogformat.h"
#include "ui_cmenubutton.h"

namespace {

const char kHoverStyle[] = "background-color:#474747;";
const char kPlainStyle[] = "background-color: rgb(28, 30, 32);";

} // namespace

Cmenubutton::Cmenubutton(QWidget *parent) : QWidget(parent), m_pUi(std::make_unique<Ui::Cmenubutton>())
{
    m_pUi->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    showIcon(m_qstrImagePath);
}

Cmenubutton::~Cmenubutton() = default;

void Cmenubutton::setImagePath(const QString &path)
{
    m_qstrImagePath = path;
    showIcon(path);
}

void Cmenubutton::setClickImagePath(const QString &path)
{
    m_qstrClickImagePath = path;
}

void Cmenubutton::setText(const QString &text)
{
    m_pUi->cmenuButtonLb->setText(text);
}

QString Cmenubutton::text() const
{
    return m_pUi->cmenuButtonLb->text();
}

QString Cmenubutton::textStyle() const
{
    return m_pUi->cmenuButtonLb->styleSheet();
}

void Cmenubutton::setSelectedStyle()
{
    m_nState = 2;
    showIcon(m_qstrClickImagePath);
    setTextBlue(true);
}

void Cmenubutton::setUnselectedStyle()
{
    m_nState = 0;
    showIcon(m_qstrImagePath);
    setTextBlue(false);
}

void Cmenubutton::onDpiUpDate(double scale)
{
    m_fScale = scale;
    if (scale == 1.0) {
        m_nFontPx = 10;
        m_qstrSuffix = QStringLiteral(".png");
    } else if (scale == 1.5) {
        m_nFontPx = 15;
        m_qstrSuffix = QStringLiteral("\\@1.5x.png");
    } else {
        m_nFontPx = 20;
        m_qstrSuffix = QStringLiteral("\\@2x.png");
    }
    const bool selected = m_bCheckable && m_nState == 2;
    showIcon(selected ? m_qstrClickImagePath : m_qstrImagePath);
    setTextBlue(selected);
    KD_LOG << "cmenuBttonImg url:" << m_pUi->cmenuBttonImg->styleSheet();
    m_pUi->cmenuButtonLb->setMaximumHeight(QWIDGETSIZE_MAX);
    m_pUi->cmenuButtonLb->setMinimumHeight(int(20 * scale));
    const int side = int(26 * scale);
    m_pUi->cmenuBttonImg->setFixedSize(side, side);
}

void Cmenubutton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_bPressed = true;
    if (m_bCheckable && m_nState == 2) {
        setUnselectedStyle();
    } else {
        setSelectedStyle();
    }
    emit btnClicked();
}

void Cmenubutton::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_bPressed || !rect().contains(event->pos())) {
        return;
    }
    m_bPressed = false;
    if (!m_bCheckable) {
        m_nState = 1;
        showIcon(m_qstrImagePath);
        setTextBlue(false);
    }
}

void Cmenubutton::enterEvent(QEvent *event)
{
    QWidget::enterEvent(event);
    setBackground(QString::fromLatin1(kHoverStyle));
}

void Cmenubutton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!m_bCheckable) {
        m_nState = 0;
        showIcon(m_qstrImagePath);
        setTextBlue(false);
    } else if (m_nState != 2) {
        showIcon(m_qstrImagePath);
        setTextBlue(false);
    }
    setBackground(QString::fromLatin1(kPlainStyle));
}

void Cmenubutton::showIcon(const QString &path)
{
    m_qstrShownIcon = path.isEmpty() ? QString() : path + QString(m_qstrSuffix).remove(QLatin1Char('\\'));
    m_pUi->cmenuBttonImg->setStyleSheet(QStringLiteral("QLabel{border-image:url(") + path + m_qstrSuffix +
                                        QStringLiteral(")}"));
}

void Cmenubutton::setTextBlue(bool blue)
{
    m_pUi->cmenuButtonLb->setStyleSheet(QStringLiteral("font-size: %1px; color:%2")
                                            .arg(m_nFontPx)
                                            .arg(blue ? QStringLiteral("#4381ff") : QStringLiteral("white")));
}

void Cmenubutton::setBackground(const QString &style)
{
    setStyleSheet(style);
    m_pUi->cImgBg->setStyleSheet(style);
}
