#pragma once

#include <memory>

#include <QTimer>

#include "models/ucmdata.h"
#include "views/base/cbasewgt.h"

namespace Ui {
class CConferencesWidget;
}

class CConferencesDetailPage;
class CConferencesErrorPage;
class CConferencesMainPage;
class CConferencesMyroomPage;
class CConferencesSchedulePage;
class CConferencesSelectuserPage;

namespace kd_app {
namespace views {

// The native meetings page of the home window: the meetings pages in one
// stack, the moves between them, and the REST requests and join requests
// their buttons stand for. The list is fetched again every 15 s while it is
// shown.
class CConferencesWidget : public CBaseWgt
{
    Q_OBJECT

public:
    static constexpr int kRefreshIntervalMs = 15000;

    explicit CConferencesWidget(QWidget *parent);
    ~CConferencesWidget() override;

    void updateDpi(double scale);
    void refreshConferences();
    void requestConferences();
    // After a sign-out: no meeting of the previous account stays in the
    // cache or on screen, and the list page is current.
    void clearForSignOut();

    CConferencesMainPage *mainPage() const { return m_pMainPage; }
    CConferencesMyroomPage *myroomPage() const { return m_pMyroomPage; }
    CConferencesSchedulePage *schedulePage() const { return m_pSchedulePage; }
    CConferencesDetailPage *detailPage() const { return m_pDetailPage; }
    CConferencesErrorPage *errorPage() const { return m_pErrorPage; }
    CConferencesSelectuserPage *selectuserPage() const { return m_pSelectuserPage; }
    QWidget *currentPage() const;
    const QTimer &refreshTimer() const { return m_refreshTimer; }

signals:
    void sigUCMJoinConf(const QString &confNumber, const QString &confPassword, bool isAudioOnly,
                        const QString &peerName);

public slots:
    void slot_tokenChanged();
    void slot_getConferences_succeed();
    void slot_addConference_succeed();
    void slot_putConference_succeed();
    void slot_deleteConference_succeed();
    void slot_terminateConference_succeed();
    void slot_myroom_clicked();
    void slot_schedule_clicked();
    void slot_join_clicked();
    void slot_back_clicked();
    void slot_backSelectuser_clicked();
    void slot_okSelectuser_clicked();
    void slot_adduser_clicked(QList<int> datas);
    void slot_addputConference_begin();
    void slot_Detail_Edit_clicked(int nId);
    void slot_Detail_CallNow_clicked(int nId);
    void slot_Detail_DeleteEdit_clicked(int nId);
    void slot_Detail_ConfJoin_clicked(int nId);
    void slot_Detail_Delete_clicked(int nId);
    void slot_Myroom_ConfJoin_clicked(QString strId);
    void slot_MeetingDetail_clicked(int nindex);
    void slot_Join_clicked(int nindex);
    void slot_Delete_clicked(int nindex);
    void slot_Edit_clicked(int nindex);
    void slot_DeleteEdit_clicked(int nindex);
    void slot_updatePage();
    void slotOnLanguageChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void initPages();
    void showPage(QWidget *page);
    // The meeting of a list row or of a meeting id, from the REST client's
    // cached list; false when there is none.
    bool meetingAtRow(int index, ucmconferenceData *meeting) const;
    bool meetingWithId(int id, ucmconferenceData *meeting) const;
    void joinMeeting(const ucmconferenceData &meeting);
    void showEditPage(const ucmconferenceData &meeting);
    void startConferenceNow(const ucmconferenceData &meeting);
    void confirmDeleteConference(const QString &id);
    void confirmTerminateConference(const QString &id);
    void addConference();
    void putConference();
    ucmconferenceRequest requestFromSchedulePage() const;
    QString myRoomNumber() const;
    int signedInUserId() const;

    std::unique_ptr<Ui::CConferencesWidget> m_pUi;
    CConferencesMainPage *m_pMainPage = nullptr;
    CConferencesMyroomPage *m_pMyroomPage = nullptr;
    CConferencesSchedulePage *m_pSchedulePage = nullptr;
    CConferencesDetailPage *m_pDetailPage = nullptr;
    CConferencesErrorPage *m_pErrorPage = nullptr;
    CConferencesSelectuserPage *m_pSelectuserPage = nullptr;
    QTimer m_refreshTimer;
    bool m_bShownOnce = false;
};

} // namespace views
} // namespace kd_app
