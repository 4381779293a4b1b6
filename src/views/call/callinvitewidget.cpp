#include "callinvitewidget.h"

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "ui_callinvitewidget.h"

namespace kd_app {
namespace views {

CallInviteWidget::CallInviteWidget(QWidget *parent) : CBaseWgt(parent), ui(std::make_unique<Ui::CallInviteWidget>())
{
    ui->setupUi(this);
    // The caller's name comes from the far end.
    ui->confNumber->setTextFormat(Qt::PlainText);
    // An empty line would only push the caller's picture out of a small
    // screen at a large scale: it shows once it has its text.
    ui->inviteInfo->hide();
    connect(ui->m_pBtnAudioAccept, &QPushButton::clicked, this, &CallInviteWidget::slotOnAudioAccept);
    connect(ui->m_pBtnVideoAccept, &QPushButton::clicked, this, &CallInviteWidget::slotOnVideoAccept);
    connect(ui->m_pBtnHangup, &QPushButton::clicked, this, &CallInviteWidget::slotOnHangUpAction);
}

CallInviteWidget::~CallInviteWidget() = default;

void CallInviteWidget::onSetMeetingNumber(const QString &number)
{
    ui->confNumber->setText(number);
}

void CallInviteWidget::onSetInviteName(const QString &name)
{
    Q_UNUSED(name)
    ui->inviteInfo->setText(tr("You are invited to join meeting:"));
    ui->inviteInfo->show();
}

void CallInviteWidget::slotOnAudioAccept()
{
    KD_LOG << "audio accept";
    emit sigAcceptCall(true);
}

void CallInviteWidget::slotOnVideoAccept()
{
    KD_LOG << "video accept";
    emit sigAcceptCall(false);
}

void CallInviteWidget::slotOnHangUpAction()
{
    KD_LOG << "hang up";
    emit sigHangUp();
}

void CallInviteWidget::setIsAudioOnlyCall(bool isAudioOnly)
{
    ui->m_pBtnVideoAccept->setVisible(!isAudioOnly);
}

void CallInviteWidget::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseWgt::showEvent(event);
}

void CallInviteWidget::hideEvent(QHideEvent *event)
{
    KD_LOG << "hide";
    CBaseWgt::hideEvent(event);
}

void CallInviteWidget::onDpiChanged()
{
    CBaseWgt::onDpiChanged();
    setStyleSheet(QString());
    setStyleSheetByScale(":/resources/qss/call-invite-widget");
    m_dpiScaler.scaleWidget(m_fStretchFactor, this, false);
    const QSize head = ui->headImg->size();
    helpers::CGeneralUtils::drawRectroundImageOnLabel(ui->headImg, ":/resources/images/default_user_header.jpg",
                                                      head.width(), head.height(), head.width() / 2, head.height() / 2,
                                                      false);
}

} // namespace views
} // namespace kd_app
