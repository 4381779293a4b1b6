#include "callwaitingwidget.h"

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "ui_callwaitingwidget.h"

namespace kd_app {
namespace views {

CallWaitingWidget::CallWaitingWidget(QWidget *parent) : CBaseWgt(parent), ui(std::make_unique<Ui::CallWaitingWidget>())
{
    ui->setupUi(this);
    helpers::CGeneralUtils::setStyle(this, QStringLiteral(":/resources/qss/call-waiting-widget.qss"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    // Numbers and names come from the far end or the engine.
    ui->meetingNumber->setTextFormat(Qt::PlainText);
    ui->peopleNumber->setTextFormat(Qt::PlainText);
    connect(ui->m_pBtnHangup, &QPushButton::clicked, this, &CallWaitingWidget::slotOnHangUpAction);
}

CallWaitingWidget::~CallWaitingWidget() = default;

QString CallWaitingWidget::meetingNumber() const
{
    return ui->meetingNumber->text();
}

QString CallWaitingWidget::peopleNumber() const
{
    return ui->peopleNumber->text();
}

void CallWaitingWidget::onSetMeetingNumber(const QString &number)
{
    ui->meetingNumber->setText(number);
}

void CallWaitingWidget::onSetPeopleNumber(const QString &count)
{
    if (count.isEmpty()) {
        ui->peopleNumber->clear();
        return;
    }
    ui->peopleNumber->setText(tr("Waiting...# ") + count + tr(" now"));
}

void CallWaitingWidget::slotOnHangUpAction()
{
    KD_LOG << "hang up";
    emit sigHangUp();
}

void CallWaitingWidget::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseWgt::showEvent(event);
}

void CallWaitingWidget::onDpiChanged()
{
    CBaseWgt::onDpiChanged();
    m_dpiScaler.scaleWidget(m_fStretchFactor, this, false);
    QFont number = ui->meetingNumber->font();
    number.setPixelSize(int(60 * m_fStretchFactor));
    ui->meetingNumber->setFont(number);
    QFont people = ui->peopleNumber->font();
    people.setPixelSize(int(40 * m_fStretchFactor));
    ui->peopleNumber->setFont(people);
}

} // namespace views
} // namespace kd_app
