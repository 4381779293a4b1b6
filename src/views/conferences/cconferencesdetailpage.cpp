#include "cconferencesdetailpage.h"

#include <QDateTime>

#include "models/cmeetingrules.h"
#include "ui_cconferencesdetailpage.h"
#include "views/base/cstyledbackground.h"
#include "views/conferences/cconferencesimages.h"

using kd_app::models::CMeetingRules;

CConferencesDetailPage::CConferencesDetailPage(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::CConferencesDetailPage>())
{
    m_pUi->setupUi(this);
    m_pUi->tableView->initView();
    m_pUi->tableView->setReadOnly();
    connect(m_pUi->back_Btn, &QToolButton::clicked, this, &CConferencesDetailPage::signal_back_clicked);
    connect(m_pUi->tBtn_edit, &QToolButton::clicked, this, &CConferencesDetailPage::slot_Edit_clicked);
    connect(m_pUi->tBtn_callnow, &QToolButton::clicked, this, &CConferencesDetailPage::slot_CallNow_clicked);
    connect(m_pUi->tBtn_editdelete, &QToolButton::clicked, this, &CConferencesDetailPage::slot_DeleteEdit_clicked);
    connect(m_pUi->tBtn_confjoin, &QToolButton::clicked, this, &CConferencesDetailPage::slot_ConfJoin_clicked);
    connect(m_pUi->tBtn_delete, &QToolButton::clicked, this, &CConferencesDetailPage::slot_Delete_clicked);
}

CConferencesDetailPage::~CConferencesDetailPage() = default;

CConferencestableview *CConferencesDetailPage::participantsGrid() const
{
    return m_pUi->tableView;
}

void CConferencesDetailPage::setType(int kind)
{
    m_nKind = kind;
    Ui::CConferencesDetailPage &ui = *m_pUi;
    switch (kind) {
    case CMeetingRules::Scheduled:
        ui.widget_schedule->show();
        ui.widget_ongoing->hide();
        break;
    case CMeetingRules::Ongoing:
        ui.widget_schedule->hide();
        ui.widget_ongoing->show();
        ui.tBtn_confjoin->show();
        ui.tBtn_delete->show();
        break;
    case CMeetingRules::Fixed:
        ui.widget_schedule->hide();
        ui.widget_ongoing->show();
        ui.tBtn_confjoin->show();
        ui.tBtn_delete->hide();
        break;
    default:
        break;
    }
}

void CConferencesDetailPage::setNotMine(int notMine)
{
    m_nNotMine = notMine;
    if (notMine != 1) {
        return;
    }
    Ui::CConferencesDetailPage &ui = *m_pUi;
    ui.widget_schedule->hide();
    if (m_nKind != CMeetingRules::Scheduled) {
        ui.widget_ongoing->show();
        ui.tBtn_confjoin->show();
        ui.tBtn_delete->hide();
    }
}

void CConferencesDetailPage::setTitle(const QString &title)
{
    m_pUi->label_meetingtitle_value->setText(title);
}

void CConferencesDetailPage::setStartTime(qint64 ms)
{
    m_pUi->label_starttime_value->setText(QDateTime::fromMSecsSinceEpoch(ms).toString("yyyy/MM/dd hh:mm"));
}

void CConferencesDetailPage::setDuration(qint64 ms)
{
    m_pUi->label_duration_value->setText(CMeetingRules::durationText(ms));
}

void CConferencesDetailPage::setNumericId(int numericId)
{
    m_pUi->label_meetingid_value->setText(QString::number(numericId));
}

void CConferencesDetailPage::setPassword(const QString &password)
{
    m_pUi->label_password_value->setText(password);
}

void CConferencesDetailPage::setDescription(const QString &description)
{
    m_pUi->label_description_value->setText(description);
    m_pUi->label_description_value->adjustSize();
}

void CConferencesDetailPage::setParticipants(const QList<int> &userIds)
{
    m_pUi->tableView->setParticipants(userIds);
}

void CConferencesDetailPage::setConferenceId(int id)
{
    m_nConferenceId = id;
}

void CConferencesDetailPage::retranslate()
{
    m_pUi->retranslateUi(this);
}

void CConferencesDetailPage::updateDpi(double scale)
{
    m_fStretchFactor = scale > 0 ? scale : 1.0;
    const double s = m_fStretchFactor;
    setStyleSheet(QString());
    setStyleSheetByScale(QStringLiteral(":/resources/qss/conferences-detail-page"));
    conferencesBackIcon(m_pUi->back_Btn, s);
    const struct
    {
        QToolButton *button;
        const char *image;
    } actions[] = {{m_pUi->tBtn_edit, ":/resources/images/conferences/icon_edit.png"},
                   {m_pUi->tBtn_callnow, ":/resources/images/conferences/icon_immediate.png"},
                   {m_pUi->tBtn_editdelete, ":/resources/images/conferences/icon_delete.png"},
                   {m_pUi->tBtn_confjoin, ":/resources/images/conferences/icon_join.png"},
                   {m_pUi->tBtn_delete, ":/resources/images/conferences/icon_end.png"}};
    const int side = s <= 1 ? 44 : s < 2 ? 66 : 88;
    for (const auto &action : actions) {
        action.button->setIcon(QIcon(conferencesImage(QLatin1String(action.image), s)));
        action.button->setIconSize(QSize(side, side));
    }
    m_pUi->tableView->updateDpi(s);
}

void CConferencesDetailPage::slot_Edit_clicked()
{
    emit signal_Edit_clicked(m_nConferenceId);
}

void CConferencesDetailPage::slot_CallNow_clicked()
{
    emit signal_CallNow_clicked(m_nConferenceId);
}

void CConferencesDetailPage::slot_DeleteEdit_clicked()
{
    emit signal_DeleteEdit_clicked(m_nConferenceId);
}

void CConferencesDetailPage::slot_ConfJoin_clicked()
{
    emit signal_ConfJoin_clicked(m_nConferenceId);
}

void CConferencesDetailPage::slot_Delete_clicked()
{
    emit signal_Delete_clicked(m_nConferenceId);
}

void CConferencesDetailPage::paintEvent(QPaintEvent *)
{
    kd_app::views::paintStyledBackground(this);
}
