#include "feedbackimgbutton.h"

#include <QPixmap>
#include <QResizeEvent>

#include "ui_feedbackimgbutton.h"

FeedBackImgButton::FeedBackImgButton(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::FeedBackImgButton>())
{
    ui->setupUi(this);
    ui->m_deleteBtn->hide();
    connect(ui->m_deleteBtn, &QPushButton::clicked, this, &FeedBackImgButton::slotRemoveImageAction);
}

FeedBackImgButton::~FeedBackImgButton() = default;

void FeedBackImgButton::setIndex(int index)
{
    m_nIndex = index;
}

void FeedBackImgButton::setImage(const QImage &image)
{
    ui->m_img->setPixmap(QPixmap::fromImage(image));
}

void FeedBackImgButton::slotRemoveImageAction()
{
    emit sigeleteTag(m_nIndex);
}

void FeedBackImgButton::enterEvent(QEvent *event)
{
    ui->m_deleteBtn->show();
    QWidget::enterEvent(event);
}

void FeedBackImgButton::leaveEvent(QEvent *event)
{
    ui->m_deleteBtn->hide();
    QWidget::leaveEvent(event);
}

void FeedBackImgButton::resizeEvent(QResizeEvent *event)
{
    // Designed as a 45 x 45 picture with a 12 x 12 button in its top right corner.
    const int side = event->size().width();
    const int button = side * 12 / 45;
    ui->m_img->setGeometry(0, 0, side, event->size().height());
    ui->m_deleteBtn->setGeometry(side - button, 0, button, button);
    QWidget::resizeEvent(event);
}
