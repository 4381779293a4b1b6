#include "cimagewidget.h"

#include <QMouseEvent>

#include "helpers/cscaledpixmap.h"
#include "ui_cimagewidget.h"

namespace {

const char kHoverStyle[] = "background-color:#474747;";
const char kPlainStyle[] = "background-color: rgb(28, 30, 32);";
const char kArrow[] = ":/resources/images/ScreenDrawing/arrow.png";

} // namespace

CimageWidget::CimageWidget(QWidget *parent) : QWidget(parent), m_pUi(std::make_unique<Ui::CimageWidget>())
{
    m_pUi->setupUi(this);
}

CimageWidget::~CimageWidget() = default;

void CimageWidget::setScale(double scale)
{
    m_pUi->cimage->setStyleSheet(QString());
    m_pUi->cimage->setAlignment(Qt::AlignCenter);
    m_pUi->cimage->setPixmap(kd_app::helpers::CScaledPixmap::load(QString::fromLatin1(kArrow), scale));
}

void CimageWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_bPressed = true;
    emit btnClicked();
}

void CimageWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_bPressed && rect().contains(event->pos())) {
        m_bPressed = false;
        setStyleSheet(QString::fromLatin1(kHoverStyle));
    }
}

void CimageWidget::enterEvent(QEvent *event)
{
    QWidget::enterEvent(event);
    setStyleSheet(QString::fromLatin1(kHoverStyle));
}

void CimageWidget::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    setStyleSheet(QString::fromLatin1(kPlainStyle));
}
