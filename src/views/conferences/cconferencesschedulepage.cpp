#include "cconferencesschedulepage.h"

#include <QDateTime>
#include <QRegExpValidator>

#include "helpers/clogformat.h"
#include "models/cmeetingrules.h"
#include "ui_cconferencesschedulepage.h"
#include "views/base/cstyledbackground.h"
#include "views/conferences/cconferencesimages.h"
#include "views/conferences/cconferencesschedulecalendar.h"

using kd_app::models::CMeetingRules;

namespace {

constexpr qint64 kMinuteMs = 60 * 1000;
constexpr int kDefaultDurationMinutes = 60;

} // namespace

CConferencesSchedulePage::CConferencesSchedulePage(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::CConferencesSchedulePage>()),
      m_pCalendar(std::make_unique<CConferencesScheduleCalendar>())
{
    m_pUi->setupUi(this);
    m_pUi->tableView->initView();
    m_pUi->lineEdit_password->setValidator(
        new QRegExpValidator(QRegExp(QStringLiteral("^[0-9]{0,12}$"), Qt::CaseSensitive), m_pUi->lineEdit_password));
    m_pUi->dateEdit->setCalendarWidget(m_pCalendar.get());
    connect(m_pUi->back_Btn, &QToolButton::clicked, this, &CConferencesSchedulePage::signal_back_clicked);
    connect(m_pUi->pBtn_schedule, &QPushButton::clicked, this, &CConferencesSchedulePage::signal_schedule_clicked);
    connect(m_pUi->tableView, &CConferencestableview::signal_addusers, this, &CConferencesSchedulePage::slot_addusers);
    connect(m_pUi->timeEdit_duration, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this] { m_nHeldDuration = -1; });
    showHeader();
}

// The calendar goes before the editor's pop-up that shows it, which lets go
// of it then.
CConferencesSchedulePage::~CConferencesSchedulePage() = default;

CConferencestableview *CConferencesSchedulePage::participantsGrid() const
{
    return m_pUi->tableView;
}

void CConferencesSchedulePage::showHeader()
{
    if (m_nMode == NewMeeting) {
        m_pUi->label->setText(tr("Schedule meeting"));
    } else if (m_nMode == EditMeeting) {
        m_pUi->label->setText(tr("Edit meeting"));
    }
}

void CConferencesSchedulePage::setMode(int mode)
{
    KD_LOG << "mode:" << mode;
    m_nMode = mode;
    if (mode == NewMeeting) {
        showHeader();
        resetForNewMeeting();
    } else if (mode == EditMeeting) {
        showHeader();
        m_pUi->widget_meetingid->show();
        m_pUi->checkBox_now->setChecked(false);
    }
}

void CConferencesSchedulePage::resetForNewMeeting()
{
    const QDateTime start = CMeetingRules::nextStart(currentDateTime());
    m_pUi->dateEdit->setMinimumDate(start.date());
    m_pUi->dateEdit->setDate(start.date());
    m_pUi->timeEdit->setTime(start.time());
    m_pUi->timeEdit_duration->setValue(kDefaultDurationMinutes);
    m_nHeldDuration = -1;
    m_pUi->lineEdit_password->clear();
    m_pUi->plainTextEdit_description->clear();
    m_pUi->widget_meetingid->hide();
    m_pUi->checkBox_now->setChecked(false);
}

void CConferencesSchedulePage::setTitle(const QString &name)
{
    if (m_nMode == NewMeeting) {
        m_pUi->lineEdit_meetingtitle->setText(name + tr("'s meeting"));
    } else if (m_nMode == EditMeeting) {
        m_pUi->lineEdit_meetingtitle->setText(name);
    }
}

void CConferencesSchedulePage::setStartTime(qint64 ms)
{
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(ms);
    // A meeting that started before today keeps its date: an untouched start
    // goes back to the server as it came.
    m_pUi->dateEdit->setMinimumDate(qMin(QDate::currentDate(), start.date()));
    m_pUi->dateEdit->setDate(start.date());
    m_pUi->timeEdit->setTime(start.time());
}

void CConferencesSchedulePage::setDuration(qint64 ms)
{
    m_pUi->timeEdit_duration->setValue(int(qBound<qint64>(0, ms / kMinuteMs, m_pUi->timeEdit_duration->maximum())));
    // Until the user changes it, the duration goes back as it came, parts of
    // a minute included.
    m_nHeldDuration = ms;
}

void CConferencesSchedulePage::setNumericId(int numericId)
{
    m_pUi->lineEdit_meetingid->setText(QString::number(numericId));
}

void CConferencesSchedulePage::setPassword(const QString &password)
{
    m_pUi->lineEdit_password->setText(password);
}

void CConferencesSchedulePage::setDescription(const QString &description)
{
    m_pUi->plainTextEdit_description->setPlainText(description);
}

void CConferencesSchedulePage::setParticipants(const QList<int> &userIds)
{
    m_pUi->tableView->setParticipants(userIds);
}

void CConferencesSchedulePage::setConferenceId(int id)
{
    m_nConferenceId = id;
}

QString CConferencesSchedulePage::getTitle() const
{
    return m_pUi->lineEdit_meetingtitle->text().trimmed();
}

qint64 CConferencesSchedulePage::getStartTime() const
{
    return QDateTime(m_pUi->dateEdit->date(), m_pUi->timeEdit->time()).toMSecsSinceEpoch();
}

qint64 CConferencesSchedulePage::getDuration() const
{
    if (m_nHeldDuration >= 0) {
        return m_nHeldDuration;
    }
    return qint64(m_pUi->timeEdit_duration->value()) * kMinuteMs;
}

QString CConferencesSchedulePage::getPassword() const
{
    return m_pUi->lineEdit_password->text().trimmed();
}

QString CConferencesSchedulePage::getDescription() const
{
    return m_pUi->plainTextEdit_description->toPlainText().trimmed();
}

QList<int> CConferencesSchedulePage::getParticipants() const
{
    return m_pUi->tableView->getUserIds();
}

int CConferencesSchedulePage::getNumericId() const
{
    return m_pUi->lineEdit_meetingid->text().toInt();
}

void CConferencesSchedulePage::retranslate()
{
    m_pUi->retranslateUi(this);
    m_pCalendar->applyLanguage();
    showHeader();
}

void CConferencesSchedulePage::updateDpi(double scale)
{
    m_fStretchFactor = scale > 0 ? scale : 1.0;
    const double s = m_fStretchFactor;
    setStyleSheet(QString());
    setStyleSheetByScale(QStringLiteral(":/resources/qss/conferences-schedule-page"));
    m_pUi->tableView->updateDpi(s);
    m_pUi->dateEdit->updateDpi(s);
    m_pUi->timeEdit->updateDpi(s);
    m_pUi->timeEdit_duration->updateDpi(s);
    m_pCalendar->setFixedSize(int(300 * s), int(250 * s));
    conferencesBackIcon(m_pUi->back_Btn, s);
}

void CConferencesSchedulePage::on_checkBox_now_toggled(bool checked)
{
    if (checked) {
        const QDateTime now = currentDateTime();
        m_pUi->dateEdit->setDate(now.date());
        m_pUi->timeEdit->setTime(now.time());
    }
    m_pUi->dateEdit->setEnabled(!checked);
    m_pUi->timeEdit->setEnabled(!checked);
}

void CConferencesSchedulePage::slot_addusers()
{
    emit signal_adduser_clicked(m_pUi->tableView->getUserIds());
}

QDateTime CConferencesSchedulePage::currentDateTime() const
{
    return QDateTime::currentDateTime();
}

void CConferencesSchedulePage::paintEvent(QPaintEvent *)
{
    kd_app::views::paintStyledBackground(this);
}
