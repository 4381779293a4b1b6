#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

#include "alertanswerer.h"
#include "ucmrecords.h"
#include "models/cucmapimanager.h"
#include "views/contacts/ccontactsaddlistmodel.h"
#include "views/contacts/ccontactsaddlistview.h"
#include "views/contacts/ccontactslistview.h"
#include "views/contacts/ccontactswidget.h"

using kd_app::models::CUCMApiManager;
using kd_app::views::CContactsWidget;
using records::user;

namespace {

ucmcontactData contact(int id, int userId, const QString &name, const QString &callNumber, int ownerId = 1)
{
    ucmcontactData record = records::contact(id, userId, name, ownerId);
    record.callNumber = callNumber;
    return record;
}

QString pageName(CContactsWidget &page)
{
    return page.findChild<QStackedWidget *>("stackedWidget")->currentWidget()->objectName();
}

} // namespace

// The contacts page on the REST client's caches, filled here as a reply fills them.
class TestContactsWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pageFollowsTheCurrentRow_data();
    void pageFollowsTheCurrentRow();
    void ownEntryHasNoActions();
    void callButtonsAskForADirectCall_data();
    void callButtonsAskForADirectCall();
    void withoutACurrentRowNothingIsSent();
    void deleteReplyRemovesTheDeletedUsersRow();
    void secondAddReplyAddsNoSecondRow();
    void contactsAfterTheUsersMarkThem();
    void pickerTicksBothLists();

private:
    void fill(const QList<ucmcontactData> &contacts);

    std::unique_ptr<CContactsWidget> m_page;
};

void TestContactsWidget::init()
{
    CUCMApiManager *api = CUCMApiManager::getInstance();
    api->getUserList() = {user(1, "Me"), user(2, "Ann"), user(3, "Bob"), user(4, "Cy"), user(5, "Di")};
    m_page = std::make_unique<CContactsWidget>(nullptr);
    m_page->updateDpi(1.0);
    m_page->resize(805, 546);
}

void TestContactsWidget::cleanup()
{
    m_page.reset();
    CContactsWidget::clearCachedLists();
}

void TestContactsWidget::fill(const QList<ucmcontactData> &contacts)
{
    CUCMApiManager::getInstance()->getContactList() = contacts;
    m_page->slot_getUsers_succeed();
    m_page->slot_getContacts_succeed();
}

void TestContactsWidget::pageFollowsTheCurrentRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("page");
    QTest::newRow("add contacts") << 0 << "page_add";
    QTest::newRow("separator") << 1 << "page_none";
    QTest::newRow("caption") << 2 << "page_none";
    QTest::newRow("a contact") << 4 << "page_info";
    QTest::newRow("no row") << -1 << "page_none";
}

void TestContactsWidget::pageFollowsTheCurrentRow()
{
    QFETCH(int, row);
    QFETCH(QString, page);
    fill({contact(11, 2, "Ann", "6002"), contact(12, 3, "Bob", "6003")});
    m_page->show();
    // Two contacts: the first one is shown at once.
    QCOMPARE(m_page->contactsList()->currentRow(), 3);
    QCOMPARE(pageName(*m_page), QString("page_info"));
    QCOMPARE(m_page->findChild<QLabel *>("label_name")->text(), QString("Ann"));
    m_page->slot_current_changed(row);
    QCOMPARE(pageName(*m_page), page);
    if (page == "page_info") {
        QCOMPARE(m_page->findChild<QLabel *>("label_name")->text(), QString("Bob"));
        QCOMPARE(m_page->findChild<QLabel *>("label_account_name")->text(), QString("bob"));
        QCOMPARE(m_page->findChild<QLabel *>("label_callid_name")->text(), QString("6003"));
    }
}

void TestContactsWidget::ownEntryHasNoActions()
{
    fill({contact(10, 1, "Me", "6001"), contact(11, 2, "Ann", "6002")});
    m_page->show();
    const QStringList actions{"widget_left", "pBt_delete", "pBt_video", "pBt_audio"};
    for (int row : {3, 4, 3}) {
        m_page->contactsList()->setCurrentIndex(m_page->contactsList()->model()->index(row, 0));
        for (const QString &name : actions) {
            QCOMPARE(m_page->findChild<QWidget *>(name)->isVisible(), row == 4);
        }
    }
    QCOMPARE(m_page->findChild<QLabel *>("label_name")->text(), QString("Me(Me)"));
}

void TestContactsWidget::callButtonsAskForADirectCall_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("callNumber");
    QTest::addColumn<bool>("audioOnly");
    QTest::newRow("video") << "pBt_video"
                           << "6002" << false;
    QTest::newRow("audio") << "pBt_audio"
                           << "6002" << true;
    QTest::newRow("no call number") << "pBt_video"
                                    << "" << false;
}

void TestContactsWidget::callButtonsAskForADirectCall()
{
    QFETCH(QString, button);
    QFETCH(QString, callNumber);
    QFETCH(bool, audioOnly);
    fill({contact(11, 2, "Ann", callNumber), contact(12, 3, "Bob", "6003")});
    m_page->show();
    QSignalSpy calls(m_page.get(), &CContactsWidget::sigUCMP2pCall);
    m_page->findChild<QPushButton *>(button)->click();
    QCOMPARE(calls.count(), 1);
    QCOMPARE(calls.first(), QVariantList({callNumber, QString(), audioOnly, QString()}));
}

// A new contacts list leaves no row current: the buttons of the page that is
// still shown must not act on whatever row the view would read.
void TestContactsWidget::withoutACurrentRowNothingIsSent()
{
    fill({contact(11, 2, "Ann", "6002"), contact(12, 3, "Bob", "6003")});
    m_page->show();
    m_page->contactsList()->setContacts(CUCMApiManager::getInstance()->getContactList());
    QCOMPARE(m_page->contactsList()->currentRow(), -1);
    QCOMPARE(m_page->contactsList()->currentContact().kind, int(contactsItemData::NoRow));

    QSignalSpy calls(m_page.get(), &CContactsWidget::sigUCMP2pCall);
    m_page->on_pBt_video_clicked();
    m_page->on_pBt_audio_clicked();
    QCOMPARE(calls.count(), 0);

    CUCMApiManager::getInstance()->getDeletedContactId() = "untouched";
    CAlertAnswerer answerer(QMessageBox::Ok);
    m_page->slot_deleteContact_begin();
    QCOMPARE(answerer.answered(), 1);
    QCOMPARE(CUCMApiManager::getInstance()->getDeletedContactId(), QString("untouched"));
}

void TestContactsWidget::deleteReplyRemovesTheDeletedUsersRow()
{
    fill({contact(11, 2, "Ann", "6002"), contact(12, 3, "Bob", "6003"), contact(13, 4, "Cy", "6004")});
    m_page->show();
    // The user asked to delete Ann, then moved to the header row while the
    // request was waiting.
    m_page->contactsList()->setCurrentIndex(m_page->contactsList()->model()->index(0, 0));
    CUCMApiManager::getInstance()->getDeletedContactId() = "2";
    m_page->slot_deleteContact_succeed();

    QStringList names;
    for (int row = 0; row < m_page->contactsList()->model()->rowCount(); ++row) {
        names << m_page->contactsList()->contactAt(row).text;
    }
    QCOMPARE(names, QStringList({"Add contacts", "", "My contacts", "Bob", "Cy"}));
    QCOMPARE(CUCMApiManager::getInstance()->getContactList().size(), 2);
    const CContactsAddListmodel *users = m_page->usersList()->sourceModel();
    QCOMPARE(users->index(1, 0).data(CContactsAddListmodel::AddedRole).toBool(), false);
    QCOMPARE(users->index(2, 0).data(CContactsAddListmodel::AddedRole).toBool(), true);
    // Two contacts remain: the first is current again.
    QCOMPARE(m_page->contactsList()->currentRow(), 3);
}

void TestContactsWidget::secondAddReplyAddsNoSecondRow()
{
    fill({contact(11, 2, "Ann", "6002")});
    m_page->show();
    const int rows = m_page->contactsList()->model()->rowCount();
    CUCMApiManager::getInstance()->getAddedContact() = contact(14, 5, "Di", "6005");
    m_page->slot_addContact_succeed();
    m_page->slot_addContact_succeed();
    QCOMPARE(m_page->contactsList()->model()->rowCount(), rows + 1);
    QCOMPARE(m_page->contactsList()->contactAt(rows).text, QString("Di"));
    const CContactsAddListmodel *users = m_page->usersList()->sourceModel();
    QCOMPARE(users->index(4, 0).data(CContactsAddListmodel::AddedRole).toBool(), true);
    // The selection stays where it was.
    QCOMPARE(m_page->contactsList()->currentRow(), 0);
}

// After a sign-in the users' reply comes before the contacts' reply; the
// users who are contacts must not keep offering "Add".
void TestContactsWidget::contactsAfterTheUsersMarkThem()
{
    CUCMApiManager *api = CUCMApiManager::getInstance();
    m_page->slot_getUsers_succeed();
    const CContactsAddListmodel *users = m_page->usersList()->sourceModel();
    const auto added = [users] {
        QList<bool> marks;
        for (int row = 0; row < users->rowCount(); ++row) {
            marks << users->index(row, 0).data(CContactsAddListmodel::AddedRole).toBool();
        }
        return marks;
    };
    QCOMPARE(added(), QList<bool>({false, false, false, false, false}));
    api->getContactList() = {contact(11, 2, "Ann", "6002"), contact(12, 4, "Cy", "6004")};
    m_page->slot_getContacts_succeed();
    QCOMPARE(added(), QList<bool>({false, true, false, true, false}));
    // A later list without Ann takes her mark away.
    api->getContactList() = {contact(12, 4, "Cy", "6004")};
    m_page->slot_getContacts_succeed();
    QCOMPARE(added(), QList<bool>({false, false, false, true, false}));
}

void TestContactsWidget::pickerTicksBothLists()
{
    m_page->enterPickerMode();
    fill({contact(11, 2, "Ann", "6002"), contact(12, 3, "Bob", "6003")});
    m_page->show();
    QCOMPARE(pageName(*m_page), QString("page_add"));
    QCOMPARE(m_page->contactsList()->contactAt(0).text, QString("Organization"));

    m_page->setSelectedUsers({3, 5});
    QCOMPARE(m_page->getSelectedUsers(), QList<int>({3, 5}));
    QCOMPARE(m_page->contactsList()->contactAt(4).ticked, true);
    QCOMPARE(m_page->contactsList()->contactAt(3).ticked, false);

    // Ticking Ann among the contacts ticks her among the users, and back.
    m_page->contactsList()->slot_selectContactItem(m_page->contactsList()->model()->index(3, 0));
    QCOMPARE(m_page->getSelectedUsers(), QList<int>({2, 3, 5}));
    m_page->usersList()->slot_selectUserItem(m_page->usersList()->model()->index(2, 0));
    QCOMPARE(m_page->contactsList()->contactAt(4).ticked, false);
    QCOMPARE(m_page->getSelectedUsers(), QList<int>({2, 5}));
}

QTEST_MAIN(TestContactsWidget)
#include "tst_contactswidget.moc"
