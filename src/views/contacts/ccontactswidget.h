#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class CContactsWidget;
}

class CContactsAddListview;
class CContactsListview;
struct contactsItemData;

namespace kd_app {
namespace views {

// The native contacts page: the user's contacts on the left; on the right
// the chosen contact with call and delete buttons, or the organisation's
// users to add contacts from. The select-user page of the meetings embeds one
// in picker mode, where both lists tick users instead.
class CContactsWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CContactsWidget(QWidget *parent);
    ~CContactsWidget() override;

    void updateDpi(double scale);
    static void clearCachedLists();
    int refreshContactsIfEmpty();
    void refreshContacts();
    // Empties both lists, for the next account (the caches are cleared apart).
    void clearLists();

    void enterPickerMode();
    QList<int> getSelectedUsers() const;
    void setSelectedUsers(const QList<int> &ids);

    CContactsListview *contactsList() const;
    CContactsAddListview *usersList() const;

signals:
    void sigUCMP2pCall(const QString &number, const QString &password, bool isAudioOnly, const QString &peerName);

public slots:
    void slot_tokenChanged();
    void slot_getContacts_succeed();
    void slot_addContact_succeed();
    void slot_deleteContact_succeed();
    void slot_getUsers_succeed();
    void slot_getUser_succeed();
    void slot_ucmapi_error(int errorCode, QString errorInfo);
    void slot_current_changed(int row);
    void slot_addContact_begin(int id);
    void slot_deleteContact_begin();
    void on_pBt_video_clicked();
    void on_pBt_audio_clicked();
    void slotOnLanguageChanged();
    void slot_selectSyncItem(int id, bool nselect);
    void slot_selectSyncItemAdd(int id, bool nselect);
    void slotOnOwnAvatarChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void call(bool isAudioOnly);
    void showContact(const contactsItemData &row);

    std::unique_ptr<Ui::CContactsWidget> m_pUi;
    bool m_bShownOnce = false;
    bool m_bPickerMode = false;
};

} // namespace views
} // namespace kd_app
