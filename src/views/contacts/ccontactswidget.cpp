#include "ccontactswidget.h"

#include <QMessageBox>

#include "helpers/clogformat.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/cucmapimanager.h"
#include "models/curlpixmap.h"
#include "ui_ccontactswidget.h"
#include "views/base/alertdlg.h"
#include "views/contacts/ccontactsaddlistview.h"
#include "views/contacts/ccontactslistview.h"

namespace kd_app {
namespace views {

using models::CLoginManager;
using models::CUCMApiManager;

CContactsWidget::CContactsWidget(QWidget *parent) : CBaseWgt(parent), m_pUi(std::make_unique<Ui::CContactsWidget>())
{
    m_pUi->setupUi(this);
    m_pUi->listView->initView();
    m_pUi->listView_add->initView();
    m_pUi->stackedWidget->setCurrentWidget(m_pUi->page_none);

    CUCMApiManager *api = CUCMApiManager::getInstance();
    connect(m_pUi->lineEdit, &QLineEdit::textChanged, m_pUi->listView_add, &CContactsAddListview::slot_textChanged);
    connect(&CLoginManager::getInstance(), &CLoginManager::sigLoginTokenChanged, this,
            &CContactsWidget::slot_tokenChanged);
    connect(api, &CUCMApiManager::signal_getContacts_succeed, this, &CContactsWidget::slot_getContacts_succeed);
    connect(api, &CUCMApiManager::signal_addContact_succeed, this, &CContactsWidget::slot_addContact_succeed);
    connect(api, &CUCMApiManager::signal_deleteContact_succeed, this, &CContactsWidget::slot_deleteContact_succeed);
    connect(api, &CUCMApiManager::signal_getUsers_succeed, this, &CContactsWidget::slot_getUsers_succeed);
    connect(api, &CUCMApiManager::signal_getUser_succeed, this, &CContactsWidget::slot_getUser_succeed);
    connect(m_pUi->listView, &CContactsListview::signal_current_changed, this, &CContactsWidget::slot_current_changed);
    connect(m_pUi->listView_add, &CContactsAddListview::signal_addContact_begin, this,
            &CContactsWidget::slot_addContact_begin);
    connect(m_pUi->pBt_delete, &QPushButton::clicked, this, &CContactsWidget::slot_deleteContact_begin);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CContactsWidget::slotOnLanguageChanged);
    connect(&CLoginManager::getInstance(), &CLoginManager::sigAvatarDownloadedOk, this,
            &CContactsWidget::slotOnOwnAvatarChanged);
}

CContactsWidget::~CContactsWidget() = default;

CContactsListview *CContactsWidget::contactsList() const
{
    return m_pUi->listView;
}

CContactsAddListview *CContactsWidget::usersList() const
{
    return m_pUi->listView_add;
}

void CContactsWidget::updateDpi(double scale)
{
    m_fStretchFactor = scale > 0 ? scale : 1.0;
    setStyleSheet(QString());
    setStyleSheetByScale(QStringLiteral(":/resources/qss/contacts-widget"));
    m_pUi->label_name->adjustSize();
    m_pUi->lineEdit->updateDpi(m_fStretchFactor);
    m_pUi->listView->updateDpi(m_fStretchFactor);
    m_pUi->listView_add->updateDpi(m_fStretchFactor);
}

void CContactsWidget::clearCachedLists()
{
    KD_LOG << "clear users and contacts";
    CUCMApiManager::getInstance()->clearUserList();
    CUCMApiManager::getInstance()->clearContactList();
}

void CContactsWidget::clearLists()
{
    m_pUi->listView->setContacts({});
    m_pUi->listView_add->setUsers({}, {});
    m_pUi->lineEdit->clear();
    m_pUi->stackedWidget->setCurrentWidget(m_pUi->page_none);
}

int CContactsWidget::refreshContactsIfEmpty()
{
    CUCMApiManager *api = CUCMApiManager::getInstance();
    const CLoginManager &login = CLoginManager::getInstance();
    if (api->getUserList().isEmpty()) {
        api->getUsers(login.getServerUrl(), login.getLoginToken());
    }
    if (api->getContactList().isEmpty()) {
        api->getContacts(login.getServerUrl(), login.getLoginToken());
    }
    return api->getContactList().size();
}

void CContactsWidget::refreshContacts()
{
    refreshContactsIfEmpty();
    m_bShownOnce = false;
}

void CContactsWidget::slot_tokenChanged()
{
    KD_LOG << "picker:" << m_bPickerMode;
    refreshContactsIfEmpty();
}

void CContactsWidget::slot_getContacts_succeed()
{
    const QList<ucmcontactData> &contacts = CUCMApiManager::getInstance()->getContactList();
    m_pUi->listView->setContacts(contacts);
    // The users may have come first, when no contact was known yet.
    m_pUi->listView_add->setContacts(contacts);
    if (isVisible() && m_pUi->listView->currentRow() < 0) {
        m_pUi->listView->selectDefaultRow();
    }
}

void CContactsWidget::slot_addContact_succeed()
{
    const ucmcontactData contact = CUCMApiManager::getInstance()->getAddedContact();
    KD_LOG << "userId:" << contact.userId;
    // A second press on "Add" while the first request still waited brings
    // the same contact back: it is listed once.
    if (!m_pUi->listView->hasContact(contact.userId)) {
        m_pUi->listView->addContact(contact);
    }
    m_pUi->listView_add->setUserAdded(contact.userId);
}

void CContactsWidget::slot_deleteContact_succeed()
{
    const int userId = CUCMApiManager::getInstance()->getDeletedContactId().toInt();
    KD_LOG << "userId:" << userId;
    CUCMApiManager::getInstance()->removeContactById(userId);
    // The row of the deleted user goes, whichever row is current by now: the
    // user may have moved on while the request waited.
    m_pUi->listView->removeContactByUserId(userId);
    if (!m_bPickerMode) {
        m_pUi->listView_add->setUserNotAdded(userId);
    }
    m_pUi->listView->selectDefaultRow();
}

void CContactsWidget::slot_getUsers_succeed()
{
    CUCMApiManager *api = CUCMApiManager::getInstance();
    m_pUi->listView_add->setUsers(api->getUserList(), api->getContactList());
}

void CContactsWidget::slot_getUser_succeed()
{
    const ucmuserData user = CUCMApiManager::getInstance()->getUserInfo();
    m_pUi->listView->updateSelf(user);
    m_pUi->listView_add->updateUser(user);
}

void CContactsWidget::slotOnOwnAvatarChanged()
{
    // The server keeps the new picture under the old address, so the cached
    // one would stay on the user's own rows.
    CUCMApiManager *api = CUCMApiManager::getInstance();
    const int ownId = int(CLoginManager::getInstance().getLoginUserInfo().userId);
    QString url;
    for (const ucmcontactData &contact : api->getContactList()) {
        if (contact.userId == ownId) {
            url = contact.imageURL;
        }
    }
    for (const ucmuserData &user : api->getUserList()) {
        if (url.isEmpty() && user.id == ownId) {
            url = user.imageURL;
        }
    }
    KD_LOG << "own avatar address:" << url;
    models::CUrlPixmap::getInstance()->replacePixmap(url,
                                                     QPixmap(CLoginManager::getInstance().getLoggedInUserAvatarPath()));
    const int current = m_pUi->listView->currentRow();
    const contactsItemData shown = m_pUi->listView->contactAt(current);
    if (m_pUi->stackedWidget->currentWidget() == m_pUi->page_info && shown.kind == contactsItemData::Contact &&
        shown.contact.userId == ownId) {
        showContact(shown);
    }
}

void CContactsWidget::slot_ucmapi_error(int errorCode, QString errorInfo)
{
    // The home window shows the server's errors.
    Q_UNUSED(errorCode)
    Q_UNUSED(errorInfo)
}

void CContactsWidget::showContact(const contactsItemData &row)
{
    m_pUi->stackedWidget->setCurrentWidget(m_pUi->page_info);
    const QPixmap avatar = row.avatar;
    m_pUi->widget_head->setPixmap(
        avatar.isNull() ? QPixmap()
                        : avatar.scaled(m_pUi->widget_head->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    m_pUi->label_name->setText(row.text);
    m_pUi->label_account_name->setText(row.contact.userName);
    m_pUi->label_callid_name->setText(row.contact.callNumber);
    m_pUi->label_mobile_name->setText(row.contact.cellphone);
    m_pUi->label_email_name->setText(row.contact.email);
    m_pUi->label_telephone_name->setText(row.contact.telephone);
    const bool own = row.contact.ownerId == row.contact.userId;
    for (QWidget *widget : {m_pUi->widget_left, static_cast<QWidget *>(m_pUi->pBt_delete),
                            static_cast<QWidget *>(m_pUi->pBt_video), static_cast<QWidget *>(m_pUi->pBt_audio)}) {
        widget->setVisible(!own);
    }
}

void CContactsWidget::slot_current_changed(int row)
{
    const contactsItemData item = m_pUi->listView->contactAt(row);
    KD_LOG << "row:" << row << "kind:" << item.kind;
    switch (item.kind) {
    case contactsItemData::Header:
        if (m_pUi->stackedWidget->currentWidget() != m_pUi->page_add) {
            m_pUi->stackedWidget->setCurrentWidget(m_pUi->page_add);
        }
        break;
    case contactsItemData::Contact:
        showContact(item);
        break;
    default:
        m_pUi->stackedWidget->setCurrentWidget(m_pUi->page_none);
        break;
    }
}

void CContactsWidget::slot_addContact_begin(int id)
{
    const CLoginManager &login = CLoginManager::getInstance();
    CUCMApiManager::getInstance()->postContact(login.getServerUrl(), login.getLoginToken(), id);
}

void CContactsWidget::slot_deleteContact_begin()
{
    if (AlertDlg::question(this, tr("Prompt"), tr("Sure you want to delete contact?"),
                           QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) != QMessageBox::Ok) {
        return;
    }
    const contactsItemData row = m_pUi->listView->currentContact();
    if (row.kind != contactsItemData::Contact) {
        KD_WARN << "No contact is current";
        return;
    }
    const CLoginManager &login = CLoginManager::getInstance();
    CUCMApiManager::getInstance()->deleteContact(login.getServerUrl(), login.getLoginToken(),
                                                 QString::number(row.contact.id), QString::number(row.contact.userId));
}

void CContactsWidget::call(bool isAudioOnly)
{
    const contactsItemData row = m_pUi->listView->currentContact();
    if (row.kind != contactsItemData::Contact) {
        KD_WARN << "No contact is current";
        return;
    }
    KD_LOG << "callNumber:" << row.contact.callNumber << "isAudioOnly:" << isAudioOnly;
    emit sigUCMP2pCall(row.contact.callNumber, QString(), isAudioOnly, QString());
}

void CContactsWidget::on_pBt_video_clicked()
{
    call(false);
}

void CContactsWidget::on_pBt_audio_clicked()
{
    call(true);
}

void CContactsWidget::slotOnLanguageChanged()
{
    m_pUi->retranslateUi(this);
    m_pUi->listView->retranslateGroups();
}

void CContactsWidget::enterPickerMode()
{
    m_bPickerMode = true;
    m_pUi->listView->setPickerMode();
    m_pUi->listView_add->setPickerMode();
    connect(m_pUi->listView, &CContactsListview::signal_selectSyncItem, this, &CContactsWidget::slot_selectSyncItem);
    connect(m_pUi->listView_add, &CContactsAddListview::signal_selectSyncItem, this,
            &CContactsWidget::slot_selectSyncItemAdd);
}

QList<int> CContactsWidget::getSelectedUsers() const
{
    return m_pUi->listView_add->getCheckedUserIds();
}

void CContactsWidget::setSelectedUsers(const QList<int> &ids)
{
    if (!m_bPickerMode) {
        return;
    }
    m_pUi->listView->setCheckedUsers(ids);
    m_pUi->listView_add->setCheckedUsers(ids);
}

void CContactsWidget::slot_selectSyncItem(int id, bool nselect)
{
    if (m_bPickerMode) {
        m_pUi->listView_add->setUserChecked(id, nselect);
    }
}

void CContactsWidget::slot_selectSyncItemAdd(int id, bool nselect)
{
    if (m_bPickerMode) {
        m_pUi->listView->setUserChecked(id, nselect);
    }
}

void CContactsWidget::paintEvent(QPaintEvent *)
{
}

void CContactsWidget::showEvent(QShowEvent *event)
{
    if (m_bShownOnce) {
        refreshContactsIfEmpty();
    }
    if (m_pUi->listView->currentRow() < 0) {
        m_pUi->listView->selectDefaultRow();
    }
    m_bShownOnce = true;
    CBaseWgt::showEvent(event);
}

void CContactsWidget::hideEvent(QHideEvent *event)
{
    if (m_bPickerMode) {
        m_bShownOnce = false;
    }
    CBaseWgt::hideEvent(event);
}

} // namespace views
} // namespace kd_app
