#include "cconferenceswidget.h"

#include <QDateTime>
#include <QMessageBox>

#include "helpers/clogformat.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/cmeetingrules.h"
#include "models/cucmapimanager.h"
#include "ui_cconferenceswidget.h"
#include "views/base/alertdlg.h"
#include "views/conferences/cconferencesdetailpage.h"
#include "views/conferences/cconferenceserrorpage.h"
#include "views/conferences/cconferenceslistwidget.h"
#include "views/conferences/cconferencesmainpage.h"
#include "views/conferences/cconferencesmyroompage.h"
#include "views/conferences/cconferencesschedulepage.h"
#include "views/conferences/cconferencesselectuserpage.h"
#include "views/contacts/ccontactswidget.h"

namespace kd_app {
namespace views {

using models::CLoginManager;
using models::CMeetingRules;
using models::CUCMApiManager;

CConferencesWidget::CConferencesWidget(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::CConferencesWidget>())
{
    m_pUi->setupUi(this);
    initPages();

    CUCMApiManager *api = CUCMApiManager::getInstance();
    connect(&CLoginManager::getInstance(), &CLoginManager::sigLoginTokenChanged, this,
            &CConferencesWidget::slot_tokenChanged);
    connect(api, &CUCMApiManager::signal_getConferences_succeed, this,
            &CConferencesWidget::slot_getConferences_succeed);
    connect(api, &CUCMApiManager::signal_addConference_succeed, this, &CConferencesWidget::slot_addConference_succeed);
    connect(api, &CUCMApiManager::signal_putConference_succeed, this, &CConferencesWidget::slot_putConference_succeed);
    connect(api, &CUCMApiManager::signal_deleteConference_succeed, this,
            &CConferencesWidget::slot_deleteConference_succeed);
    connect(api, &CUCMApiManager::signal_terminateConference_succeed, this,
            &CConferencesWidget::slot_terminateConference_succeed);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CConferencesWidget::slotOnLanguageChanged);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CConferencesWidget::slot_updatePage);
}

CConferencesWidget::~CConferencesWidget() = default;

void CConferencesWidget::initPages()
{
    QStackedWidget *stack = m_pUi->stackedWidget;
    while (QWidget *page = stack->currentWidget()) {
        stack->removeWidget(page);
    }
    if (!m_pMainPage) {
        m_pMainPage = new CConferencesMainPage();
        connect(m_pMainPage, &CConferencesMainPage::signal_myroom_clicked, this,
                &CConferencesWidget::slot_myroom_clicked);
        connect(m_pMainPage, &CConferencesMainPage::signal_schedule_clicked, this,
                &CConferencesWidget::slot_schedule_clicked);
        connect(m_pMainPage, &CConferencesMainPage::signal_join_clicked, this, &CConferencesWidget::slot_join_clicked);
        connect(m_pMainPage, &CConferencesMainPage::signal_ConfJoin_clicked, this,
                &CConferencesWidget::slot_Myroom_ConfJoin_clicked);
        connect(m_pMainPage, &CConferencesMainPage::signal_MeetingDetail_clicked, this,
                &CConferencesWidget::slot_MeetingDetail_clicked);
        connect(m_pMainPage, &CConferencesMainPage::signal_Join_clicked, this, &CConferencesWidget::slot_Join_clicked);
        connect(m_pMainPage, &CConferencesMainPage::signal_Delete_clicked, this,
                &CConferencesWidget::slot_Delete_clicked);
        connect(m_pMainPage, &CConferencesMainPage::signal_Edit_clicked, this, &CConferencesWidget::slot_Edit_clicked);
        connect(m_pMainPage, &CConferencesMainPage::signal_DeleteEdit_clicked, this,
                &CConferencesWidget::slot_DeleteEdit_clicked);
    }
    stack->addWidget(m_pMainPage);
    if (!m_pMyroomPage) {
        m_pMyroomPage = new CConferencesMyroomPage();
        connect(m_pMyroomPage, &CConferencesMyroomPage::signal_back_clicked, this,
                &CConferencesWidget::slot_back_clicked);
        connect(m_pMyroomPage, &CConferencesMyroomPage::signal_ConfJoin_clicked, this,
                &CConferencesWidget::slot_Myroom_ConfJoin_clicked);
    }
    stack->addWidget(m_pMyroomPage);
    if (!m_pSchedulePage) {
        m_pSchedulePage = new CConferencesSchedulePage();
        connect(m_pSchedulePage, &CConferencesSchedulePage::signal_back_clicked, this,
                &CConferencesWidget::slot_back_clicked);
        connect(m_pSchedulePage, &CConferencesSchedulePage::signal_adduser_clicked, this,
                &CConferencesWidget::slot_adduser_clicked);
        connect(m_pSchedulePage, &CConferencesSchedulePage::signal_schedule_clicked, this,
                &CConferencesWidget::slot_addputConference_begin);
    }
    stack->addWidget(m_pSchedulePage);
    if (!m_pDetailPage) {
        m_pDetailPage = new CConferencesDetailPage();
        connect(m_pDetailPage, &CConferencesDetailPage::signal_back_clicked, this,
                &CConferencesWidget::slot_back_clicked);
        connect(m_pDetailPage, &CConferencesDetailPage::signal_Edit_clicked, this,
                &CConferencesWidget::slot_Detail_Edit_clicked);
        connect(m_pDetailPage, &CConferencesDetailPage::signal_CallNow_clicked, this,
                &CConferencesWidget::slot_Detail_CallNow_clicked);
        connect(m_pDetailPage, &CConferencesDetailPage::signal_DeleteEdit_clicked, this,
                &CConferencesWidget::slot_Detail_DeleteEdit_clicked);
        connect(m_pDetailPage, &CConferencesDetailPage::signal_ConfJoin_clicked, this,
                &CConferencesWidget::slot_Detail_ConfJoin_clicked);
        connect(m_pDetailPage, &CConferencesDetailPage::signal_Delete_clicked, this,
                &CConferencesWidget::slot_Detail_Delete_clicked);
    }
    stack->addWidget(m_pDetailPage);
    if (!m_pErrorPage) {
        m_pErrorPage = new CConferencesErrorPage();
        connect(m_pErrorPage, &CConferencesErrorPage::signal_back_clicked, this,
                &CConferencesWidget::slot_back_clicked);
    }
    stack->addWidget(m_pErrorPage);
    if (!m_pSelectuserPage) {
        m_pSelectuserPage = new CConferencesSelectuserPage();
        connect(m_pSelectuserPage, &CConferencesSelectuserPage::signal_back_clicked, this,
                &CConferencesWidget::slot_backSelectuser_clicked);
        connect(m_pSelectuserPage, &CConferencesSelectuserPage::signal_ok_clicked, this,
                &CConferencesWidget::slot_okSelectuser_clicked);
    }
    stack->addWidget(m_pSelectuserPage);
    showPage(m_pMainPage);
}

QWidget *CConferencesWidget::currentPage() const
{
    return m_pUi->stackedWidget->currentWidget();
}

void CConferencesWidget::showPage(QWidget *page)
{
    if (page && m_pUi->stackedWidget->currentWidget() != page) {
        m_pUi->stackedWidget->setCurrentWidget(page);
    }
}

int CConferencesWidget::signedInUserId() const
{
    return int(quint32(CLoginManager::getInstance().getLoginUserInfo().userId & 0xffffffffu));
}

QString CConferencesWidget::myRoomNumber() const
{
    return QString::fromStdString(CLoginManager::getInstance().getLoginUserInfo().vmr);
}

void CConferencesWidget::updateDpi(double scale)
{
    m_fStretchFactor = scale > 0 ? scale : 1.0;
    const double s = m_fStretchFactor;
    m_pMainPage->updateDpi(s);
    m_pMyroomPage->updateDpi(s);
    m_pDetailPage->updateDpi(s);
    m_pSelectuserPage->updateDpi(s);
    m_pSchedulePage->updateDpi(s);
}

void CConferencesWidget::refreshConferences()
{
    showPage(m_pMainPage);
    requestConferences();
}

void CConferencesWidget::requestConferences()
{
    const CLoginManager &login = CLoginManager::getInstance();
    CUCMApiManager::getInstance()->getConferences(login.getServerUrl(), login.getLoginToken());
}

void CConferencesWidget::clearForSignOut()
{
    KD_LOG << "clear meetings";
    CUCMApiManager::getInstance()->getConferenceList().clear();
    m_pMainPage->setConferences({});
    m_pMainPage->setMyRoomId(QString());
    m_pSelectuserPage->contactsPage()->clearLists();
    showPage(m_pMainPage);
    // The next account's first show is its sign-in, which fetches already.
    m_bShownOnce = false;
}

void CConferencesWidget::slot_tokenChanged()
{
    // A renewed token must not throw away a meeting being written or the
    // users being chosen: those pages stay, and only the list is fetched.
    QWidget *page = currentPage();
    if (page == m_pSchedulePage || page == m_pSelectuserPage) {
        KD_LOG << "fetch without leaving the page";
        requestConferences();
    } else {
        refreshConferences();
    }
    if (m_pMainPage) {
        m_pMainPage->setMyRoomId(myRoomNumber());
    }
}

void CConferencesWidget::slot_getConferences_succeed()
{
    m_pMainPage->setConferences(CUCMApiManager::getInstance()->getConferenceList());
}

void CConferencesWidget::slot_addConference_succeed()
{
    refreshConferences();
}

void CConferencesWidget::slot_putConference_succeed()
{
    refreshConferences();
}

void CConferencesWidget::slot_deleteConference_succeed()
{
    refreshConferences();
}

void CConferencesWidget::slot_terminateConference_succeed()
{
    refreshConferences();
}

void CConferencesWidget::slot_myroom_clicked()
{
    showPage(m_pMyroomPage);
    m_pMyroomPage->setMyRoomId(myRoomNumber());
}

void CConferencesWidget::slot_schedule_clicked()
{
    showPage(m_pSchedulePage);
    m_pSchedulePage->setMode(CConferencesSchedulePage::NewMeeting);
    m_pSchedulePage->setParticipants({signedInUserId()});
    m_pSchedulePage->setTitle(CLoginManager::getInstance().getDisplayName());
}

void CConferencesWidget::slot_join_clicked()
{
    emit sigUCMJoinConf(QString(), QString(), false, QString());
}

void CConferencesWidget::slot_back_clicked()
{
    showPage(m_pMainPage);
}

void CConferencesWidget::slot_backSelectuser_clicked()
{
    showPage(m_pSchedulePage);
}

void CConferencesWidget::slot_okSelectuser_clicked()
{
    showPage(m_pSchedulePage);
    m_pSchedulePage->setParticipants(m_pSelectuserPage->getSelectedUsers());
}

void CConferencesWidget::slot_adduser_clicked(QList<int> datas)
{
    showPage(m_pSelectuserPage);
    m_pSelectuserPage->setSelectedUsers(datas);
}

ucmconferenceRequest CConferencesWidget::requestFromSchedulePage() const
{
    ucmconferenceRequest request;
    request.name = m_pSchedulePage->getTitle();
    request.startTime = m_pSchedulePage->getStartTime();
    request.duration = m_pSchedulePage->getDuration();
    request.confPassword = m_pSchedulePage->getPassword();
    request.remarks = m_pSchedulePage->getDescription();
    request.userIds = m_pSchedulePage->getParticipants();
    return request;
}

void CConferencesWidget::addConference()
{
    const CLoginManager &login = CLoginManager::getInstance();
    CUCMApiManager::getInstance()->postConference(login.getServerUrl(), login.getLoginToken(),
                                                  requestFromSchedulePage());
}

void CConferencesWidget::putConference()
{
    ucmconferenceRequest request = requestFromSchedulePage();
    request.id = m_pSchedulePage->getConferenceId();
    request.numericId = m_pSchedulePage->getNumericId();
    const CLoginManager &login = CLoginManager::getInstance();
    CUCMApiManager::getInstance()->putConference(login.getServerUrl(), login.getLoginToken(), request);
}

void CConferencesWidget::slot_addputConference_begin()
{
    const int mode = m_pSchedulePage->getMode();
    KD_LOG << "mode:" << mode;
    if (mode == CConferencesSchedulePage::NewMeeting) {
        addConference();
    } else if (mode == CConferencesSchedulePage::EditMeeting) {
        putConference();
    }
}

bool CConferencesWidget::meetingAtRow(int index, ucmconferenceData *meeting) const
{
    const QList<ucmconferenceData> &list = CUCMApiManager::getInstance()->getConferenceList();
    // A row the cached list no longer has (it shrank under the list) is no
    // meeting, like a negative one.
    if (index < 0 || index >= list.size()) {
        KD_WARN << "no meeting at row" << index << "of" << list.size();
        return false;
    }
    *meeting = list.at(index);
    return true;
}

bool CConferencesWidget::meetingWithId(int id, ucmconferenceData *meeting) const
{
    ucmconferenceData key;
    key.id = id;
    const QList<ucmconferenceData> &list = CUCMApiManager::getInstance()->getConferenceList();
    const int index = list.indexOf(key);
    if (index < 0) {
        KD_WARN << "no meeting with id" << id;
        return false;
    }
    *meeting = list.at(index);
    return true;
}

void CConferencesWidget::joinMeeting(const ucmconferenceData &meeting)
{
    KD_LOG << "numericId:" << meeting.numericId;
    emit sigUCMJoinConf(QString::number(meeting.numericId), meeting.confPassword, false, QString());
}

void CConferencesWidget::showEditPage(const ucmconferenceData &meeting)
{
    showPage(m_pSchedulePage);
    m_pSchedulePage->setMode(CConferencesSchedulePage::EditMeeting);
    m_pSchedulePage->setTitle(meeting.name);
    m_pSchedulePage->setStartTime(meeting.startTime);
    m_pSchedulePage->setDuration(meeting.duration);
    m_pSchedulePage->setNumericId(meeting.numericId);
    m_pSchedulePage->setPassword(meeting.confPassword);
    m_pSchedulePage->setDescription(meeting.remarks);
    m_pSchedulePage->setParticipants(meeting.userIds);
    m_pSchedulePage->setConferenceId(meeting.id);
}

void CConferencesWidget::startConferenceNow(const ucmconferenceData &meeting)
{
    ucmconferenceRequest request;
    request.name = meeting.name;
    request.startTime = QDateTime::currentDateTime().toMSecsSinceEpoch();
    request.duration = meeting.duration;
    request.confPassword = meeting.confPassword;
    request.remarks = meeting.remarks;
    request.userIds = meeting.userIds;
    request.id = meeting.id;
    request.numericId = meeting.numericId;
    const CLoginManager &login = CLoginManager::getInstance();
    CUCMApiManager::getInstance()->putConference(login.getServerUrl(), login.getLoginToken(), request);
}

void CConferencesWidget::confirmDeleteConference(const QString &id)
{
    if (AlertDlg::question(this, tr("Note"), tr("Are you sure to delete meeting?"),
                           QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) != QMessageBox::Ok) {
        return;
    }
    const CLoginManager &login = CLoginManager::getInstance();
    CUCMApiManager::getInstance()->deleteConference(login.getServerUrl(), login.getLoginToken(), id);
}

void CConferencesWidget::confirmTerminateConference(const QString &id)
{
    if (AlertDlg::question(this, tr("Note"), tr("Are you sure to terminate meeting?"),
                           QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) != QMessageBox::Ok) {
        return;
    }
    const CLoginManager &login = CLoginManager::getInstance();
    CUCMApiManager::getInstance()->terminateConference(login.getServerUrl(), login.getLoginToken(), id);
}

void CConferencesWidget::slot_Detail_Edit_clicked(int nId)
{
    ucmconferenceData meeting;
    if (meetingWithId(nId, &meeting)) {
        showEditPage(meeting);
    }
}

void CConferencesWidget::slot_Detail_CallNow_clicked(int nId)
{
    ucmconferenceData meeting;
    if (meetingWithId(nId, &meeting)) {
        startConferenceNow(meeting);
    }
}

void CConferencesWidget::slot_Detail_DeleteEdit_clicked(int nId)
{
    ucmconferenceData meeting;
    if (meetingWithId(nId, &meeting)) {
        confirmDeleteConference(QString::number(nId));
    }
}

void CConferencesWidget::slot_Detail_ConfJoin_clicked(int nId)
{
    ucmconferenceData meeting;
    if (meetingWithId(nId, &meeting)) {
        showPage(m_pMainPage);
        joinMeeting(meeting);
    }
}

void CConferencesWidget::slot_Detail_Delete_clicked(int nId)
{
    ucmconferenceData meeting;
    if (meetingWithId(nId, &meeting)) {
        confirmTerminateConference(QString::number(nId));
    }
}

void CConferencesWidget::slot_Myroom_ConfJoin_clicked(QString strId)
{
    KD_LOG << "room:" << strId;
    emit sigUCMJoinConf(strId, QString(), false, QString());
}

void CConferencesWidget::slot_MeetingDetail_clicked(int nindex)
{
    ucmconferenceData meeting;
    if (!m_pDetailPage || !meetingAtRow(nindex, &meeting)) {
        return;
    }
    const int kind = CMeetingRules::kindOf(meeting);
    const int notMine = meeting.applicantId != signedInUserId() ? 1 : 0;
    showPage(m_pDetailPage);
    m_pDetailPage->setType(kind);
    m_pDetailPage->setNotMine(notMine);
    m_pDetailPage->setTitle(meeting.name);
    m_pDetailPage->setStartTime(meeting.startTime);
    m_pDetailPage->setDuration(meeting.duration);
    m_pDetailPage->setNumericId(meeting.numericId);
    m_pDetailPage->setPassword(meeting.confPassword);
    m_pDetailPage->setDescription(meeting.remarks);
    m_pDetailPage->setParticipants(meeting.userIds);
    m_pDetailPage->setConferenceId(meeting.id);
}

void CConferencesWidget::slot_Join_clicked(int nindex)
{
    ucmconferenceData meeting;
    if (meetingAtRow(nindex, &meeting)) {
        joinMeeting(meeting);
    }
}

void CConferencesWidget::slot_Delete_clicked(int nindex)
{
    ucmconferenceData meeting;
    if (meetingAtRow(nindex, &meeting)) {
        confirmTerminateConference(QString::number(meeting.id));
    }
}

void CConferencesWidget::slot_Edit_clicked(int nindex)
{
    ucmconferenceData meeting;
    if (meetingAtRow(nindex, &meeting)) {
        showEditPage(meeting);
    }
}

void CConferencesWidget::slot_DeleteEdit_clicked(int nindex)
{
    ucmconferenceData meeting;
    if (meetingAtRow(nindex, &meeting)) {
        confirmDeleteConference(QString::number(meeting.id));
    }
}

void CConferencesWidget::slot_updatePage()
{
    if (currentPage() == m_pMainPage) {
        requestConferences();
    }
}

void CConferencesWidget::slotOnLanguageChanged()
{
    m_pMainPage->retranslate();
    m_pMyroomPage->retranslate();
    m_pDetailPage->retranslate();
    m_pSelectuserPage->retranslate();
    m_pSchedulePage->retranslate();
}

void CConferencesWidget::showEvent(QShowEvent *event)
{
    if (m_bShownOnce) {
        refreshConferences();
        m_pSelectuserPage->refreshContacts();
    }
    m_bShownOnce = true;
    m_refreshTimer.setInterval(kRefreshIntervalMs);
    m_refreshTimer.start();
    CBaseWgt::showEvent(event);
}

void CConferencesWidget::hideEvent(QHideEvent *event)
{
    m_refreshTimer.stop();
    CBaseWgt::hideEvent(event);
}

} // namespace views
} // namespace kd_app
