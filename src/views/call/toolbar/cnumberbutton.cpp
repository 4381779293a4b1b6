#include "cnumberbutton.h"

#include <QMouseEvent>

#include "models/clinguist.h"
#include "ui_cnumberbutton.h"

namespace {

const char STYLE_HOVER[] = "background-color:#616161;";
const char STYLE_NORMAL[] = "background-color:#1c1e20;";

} // namespace

CNumberButton::CNumberButton(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::CNumberButton>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    ui->m_pNumber->setAttribute(Qt::WA_StyledBackground);
    connect(kd_app::models::CLinguist::getInstance(), &kd_app::models::CLinguist::sigLanguageChanged, this,
            [this] { ui->retranslateUi(this); });
}

CNumberButton::~CNumberButton() = default;

QWidget *CNumberButton::image() const
{
    return ui->m_pImg;
}

QWidget *CNumberButton::caption() const
{
    return ui->m_pTitle;
}

QWidget *CNumberButton::number() const
{
    return ui->m_pNumber;
}

void CNumberButton::setScale(double scale)
{
    const int image = int(28 * scale);
    ui->m_pImg->setFixedSize(image, image);
    ui->m_pImg->move(int(width() / 2 - 14 * scale), ui->m_pImg->y());
    ui->m_pNumber->setFixedSize(image, image);
    ui->m_pNumber->move(int(width() / 2 + 5 * scale), ui->m_pNumber->y());
    ui->m_pTitle->setFixedSize(int(88 * scale), int(14 * scale));
    int fontPixels = 24;
    int captionGap = 19;
    if (scale == 1.0) {
        fontPixels = 12;
        captionGap = 7;
    } else if (scale == 1.5) {
        fontPixels = 18;
        captionGap = 12;
    }
    ui->m_pTitle->setStyleSheet(QString("#m_pTitle{color: rgb(255, 255, 255);font-size: %1px;}").arg(fontPixels));
    ui->m_pNumber->setStyleSheet(
        QString("#m_pNumber{color: rgb(255, 255, 255);font-size: %1px;background-color: rgba(255, 255, 255, 0);}")
            .arg(fontPixels));
    ui->m_pTitle->move(0, height() - ui->m_pTitle->height() - captionGap);
}

void CNumberButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}

void CNumberButton::enterEvent(QEvent *event)
{
    setStyleSheet(STYLE_HOVER);
    QWidget::enterEvent(event);
}

void CNumberButton::leaveEvent(QEvent *event)
{
    setStyleSheet(STYLE_NORMAL);
    QWidget::leaveEvent(event);
}
