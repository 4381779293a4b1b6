#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "app/cplatform.h"
#include "custom_controls/chomeexitbutton.h"
#include "custom_controls/chomemenulistmodel.h"
#include "helpers/cuserconfigutils.h"
#include "homefixture.h"
#include "screendpi.h"
#include "kdsdkcontrol.h"
#include "views/conferences/cconferencesdetailpage.h"
#include "views/conferences/cconferencesmainpage.h"
#include "views/conferences/cconferenceswidget.h"
#include "views/contacts/ccontactsaddlistview.h"
#include "views/contacts/ccontactslistview.h"
#include "views/contacts/ccontactswidget.h"
#include "views/home/chomedlg.h"
#include "views/home/cjoinconfwidget.h"
#include "views/settings/csettingsform.h"

using kd_app::custom_controls::CHomeMenuListModel;
using kd_app::models::CCallController;
using kd_app::models::CLoginManager;
using kd_app::models::CUCMApiManager;
using kd_app::views::CConferencesWidget;
using kd_app::views::CContactsWidget;
using kd_app::views::CHomeDlg;
using kd_app::views::CJoinConfWidget;
using kd_app::views::CSettingsForm;
namespace enums = kd_app::enums;

namespace {

QByteArray seed(const QString &serverType)
{
    return QString(R"({
        "organisation": {"companyShortName": "Harbour", "appServerType": "%1"},
        "users": [
            {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice", "vmr": "9001"},
            {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob", "callNumber": "6002"}
        ],
        "contacts": [{"ownerId": 1, "userId": 2}, {"ownerId": 1, "userId": 1}],
        "meetings": [
            {"id": 1, "numericId": 70001, "name": "Standup", "startInMinutes": -5, "status": "ONGOING",
             "confPassword": "4711", "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]}
        ]
    })")
        .arg(serverType)
        .toUtf8();
}

CHomeDlg *home()
{
    return CHomeDlg::getInstance();
}

QStringList menuTexts()
{
    QStringList texts;
    const QAbstractItemModel *menu = child<QListView>(home(), "m_pLvMenus")->model();
    for (int row = 0; row < menu->rowCount(); ++row) {
        texts << menu->index(row, 0).data(CHomeMenuListModel::TextRole).toString();
    }
    return texts;
}

QStringList pageClasses()
{
    QStringList classes;
    QStackedWidget *stack = child<QStackedWidget>(home(), "m_pStackedWgtContent");
    for (int i = 0; i < stack->count(); ++i) {
        classes << QString::fromLatin1(stack->widget(i)->metaObject()->className()).section("::", -1);
    }
    return classes;
}

// Counts what a widget is told of its style sheets changing.
class CStyleChangeCounter : public QObject
{
public:
    explicit CStyleChangeCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::StyleChange ? 1 : 0;
        return false;
    }
};

// Requests for the meetings list itself, not for one meeting.
int meetingsListRequests(const confserver::CConfServer &server)
{
    int count = 0;
    for (const std::string &target : server.requestsTo("/meetings")) {
        count += QString::fromStdString(target).section('?', 0, 0).endsWith("/meetings") ? 1 : 0;
    }
    return count;
}

// The meetings rows on screen in the list's viewport.
int rowsPlaced(QListWidget *list)
{
    int placed = 0;
    for (QWidget *row : list->viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        placed += !row->isHidden() && row->geometry().intersects(list->viewport()->rect()) ? 1 : 0;
    }
    return placed;
}

void sendMouse(QWidget *window, QEvent::Type type, const QPoint &global, Qt::MouseButtons held)
{
    QMouseEvent event(type, window->mapFromGlobal(global), global,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

} // namespace

// The home window on the program's window manager, against a local server.
class TestHomeDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pagesAndMenuByStatusAndServer_data();
    void pagesAndMenuByStatusAndServer();
    void menuClickSwitchesThePage();
    void signOutForgetsTheAccount();
    void signInDoesItsWorkOnce();
    void forcedLogoutWhenIdle();
    void forcedLogoutWaitsForTheCallToEnd();
    void serverErrors();
    void repeatedErrorWhileItsBoxIsOpen();
    void leavingUnsavedSipSettingsAsks();
    void guestExit();
    void statusTellsRegistrationToAServer();
    void dragRestoresAMaximisedWindow();
    void closeAsks();
    void joinButtonShowsItsWholeText_data();
    void joinButtonShowsItsWholeText();

private:
    CHomeFixture m_fixture;
};

void TestHomeDlg::initTestCase()
{
    // The program's own font, whose text widths the title bar must fit.
    QFont font;
    font.setFamilies(kd_app::CPlatform::uiFontFamilies());
    font.setPointSize(9);
    QApplication::setFont(font);
    QVERIFY(m_fixture.start(seed("UCM")));
}

void TestHomeDlg::cleanup()
{
    m_fixture.signOut();
    m_fixture.server().clearFaults();
}

void TestHomeDlg::pagesAndMenuByStatusAndServer_data()
{
    QTest::addColumn<QString>("serverType");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QStringList>("menu");
    const QStringList accountMenu{"Meetings", "Contacts", "Settings"};
    QTest::newRow("guest") << "" << QStringList{"CJoinConfWidget", "CSettingsForm"} << QStringList{"Join", "Settings"};
    QTest::newRow("UCM") << "UCM" << QStringList{"CConferencesWidget", "CContactsWidget", "CSettingsForm"}
                         << accountMenu;
    QTest::newRow("lower-case ccm is native")
        << "ccm" << QStringList{"CConferencesWidget", "CContactsWidget", "CSettingsForm"} << accountMenu;
    QTest::newRow("CCM has the server's pages") << "CCM" << QStringList{"web", "web", "CSettingsForm"} << accountMenu;
}

void TestHomeDlg::pagesAndMenuByStatusAndServer()
{
    QFETCH(QString, serverType);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, menu);
    if (serverType.isEmpty()) {
        m_fixture.signOut();
        CLoginManager::getInstance().setLoginStatus(enums::AnonymousLoggedIn);
    } else {
        QVERIFY(m_fixture.signIn("alice", "Alice2026!", seed(serverType)));
    }
    QTRY_VERIFY(home()->isVisible());
    QCOMPARE(menuTexts(), menu);
    QStringList shown = pageClasses();
    if (serverType == "CCM") {
        QVERIFY(home()->webMeetingsPage() && home()->webContactsPage());
        QVERIFY(!home()->conferencesPage() && !home()->contactsPage());
        shown[0] = shown[1] = "web";
    }
    QCOMPARE(shown, pages);
    const bool guest = serverType.isEmpty();
    QCOMPARE(child<QWidget>(home(), "m_pBtnExit")->isVisible(), guest);
    QCOMPARE(child<QWidget>(home(), "m_pBtnJoinConf")->isVisible(), !guest);
    QTRY_COMPARE(home()->currentPage(), child<QStackedWidget>(home(), "m_pStackedWgtContent")->widget(0));
    m_fixture.store().loadSeed(seed("UCM"));
}

void TestHomeDlg::menuClickSwitchesThePage()
{
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    QListView *menu = child<QListView>(home(), "m_pLvMenus");
    const QRect contacts = menu->visualRect(menu->model()->index(1, 0));
    QTest::mouseClick(menu->viewport(), Qt::LeftButton, Qt::NoModifier, contacts.center());
    QTRY_COMPARE(home()->currentPage(), static_cast<QWidget *>(home()->contactsPage()));
    QCOMPARE(menu->currentIndex().row(), 1);
}

// Signing out of an account leaves nothing of it for the next one: neither
// in the REST client's lists nor on the pages.
void TestHomeDlg::signOutForgetsTheAccount()
{
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    CUCMApiManager *api = CUCMApiManager::getInstance();
    QTRY_VERIFY(!api->getConferenceList().isEmpty() && !api->getContactList().isEmpty() &&
                !api->getUserList().isEmpty());
    CConferencesWidget *meetings = home()->conferencesPage();
    QTRY_COMPARE(meetings->mainPage()->findChild<QListWidget *>("listWidget")->count(), 1);
    QTRY_COMPARE(home()->contactsPage()->contactsList()->model()->rowCount(), 5);
    meetings->slot_MeetingDetail_clicked(0);
    QCOMPARE(meetings->currentPage(), static_cast<QWidget *>(meetings->detailPage()));

    CLoginManager::getInstance().logout();
    QVERIFY(api->getConferenceList().isEmpty());
    QVERIFY(api->getContactList().isEmpty());
    QVERIFY(api->getUserList().isEmpty());
    QCOMPARE(meetings->mainPage()->findChild<QListWidget *>("listWidget")->count(), 0);
    QCOMPARE(meetings->currentPage(), static_cast<QWidget *>(meetings->mainPage()));
    QCOMPARE(home()->contactsPage()->contactsList()->model()->rowCount(), 3);
    QCOMPARE(home()->contactsPage()->usersList()->model()->rowCount(), 0);
}

void TestHomeDlg::signInDoesItsWorkOnce()
{
    // The window is made and styled at a first sign-in; the next one finds it so.
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    m_fixture.signOut();
    QTRY_VERIFY(!home()->isVisible());
    CConferencesWidget *meetings = home()->conferencesPage();
    auto *list = meetings->mainPage()->findChild<QListWidget *>("listWidget");
    CStyleChangeCounter styled(meetings->mainPage());
    const int requestsBefore = meetingsListRequests(m_fixture.server());
    // What the first fill with the meeting shows before the event loop's next turn.
    int placedWhenFilled = -1;
    QMetaObject::Connection filled =
        connect(CUCMApiManager::getInstance(), &CUCMApiManager::signal_getConferences_succeed, this, [&] {
            if (placedWhenFilled < 0 && list->count() > 0) {
                placedWhenFilled = rowsPlaced(list);
            }
        });

    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    QTRY_COMPARE(placedWhenFilled, 1);
    disconnect(filled);
    // Whatever else sign-in asks is answered by now.
    QTRY_COMPARE(home()->contactsPage()->contactsList()->model()->rowCount(), 5);
    QCOMPARE(meetingsListRequests(m_fixture.server()) - requestsBefore, 1);
    QCOMPARE(styled.count, 0);
    QVERIFY(meetings->refreshTimer().isActive());
}

void TestHomeDlg::forcedLogoutWhenIdle()
{
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    CAlertAnswerer answerer(QMessageBox::Ok);
    kd::sdk::currentEngineControl()->injectRegistrationState(1, 4);
    QTRY_COMPARE(answerer.answered(), 1);
    QVERIFY(answerer.texts().first().startsWith("Your account logged in on another device at "));
    QTRY_COMPARE(CLoginManager::getInstance().getLoginStatus(), enums::NotLogin);
}

void TestHomeDlg::forcedLogoutWaitsForTheCallToEnd()
{
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    CCallController &calls = CCallController::getInstance();
    calls.dialOut("70001", "4711", true, QString());
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    CAlertAnswerer answerer(QMessageBox::Ok);
    kd::sdk::IEngineControl *control = kd::sdk::currentEngineControl();
    control->injectRegistrationState(1, 4);
    control->injectRegistrationState(1, 0);
    QTRY_COMPARE(CLoginManager::getInstance().getRegisterInfo().state, 0);
    QCOMPARE(answerer.answered(), 0);
    QCOMPARE(CLoginManager::getInstance().getLoginStatus(), enums::LoggedIn);
    calls.hangUp();
    QTRY_COMPARE(answerer.answered(), 1);
    QTRY_COMPARE(CLoginManager::getInstance().getLoginStatus(), enums::NotLogin);
}

void TestHomeDlg::serverErrors()
{
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    CConferencesWidget *meetings = home()->conferencesPage();
    {
        // An expired token is renewed without a word to the user.
        CAlertAnswerer answerer(QMessageBox::Ok);
        const QString token = CLoginManager::getInstance().getLoginToken();
        m_fixture.store().expireToken(token);
        QSignalSpy renewed(&CLoginManager::getInstance(), &CLoginManager::sigLoginTokenChanged);
        meetings->requestConferences();
        QTRY_COMPARE(renewed.count(), 1);
        QVERIFY(CLoginManager::getInstance().getLoginToken() != token);
        QTest::qWait(200);
        QCOMPARE(answerer.answered(), 0);
    }
    // Any other error is shown, with its code.
    CAlertAnswerer answerer(QMessageBox::Ok);
    m_fixture.server().addFault(confserver::CFault{"/meetings", confserver::CFault::Kind::ErrorCode, 1040, 1});
    meetings->requestConferences();
    QTRY_COMPARE(answerer.answered(), 1);
    QCOMPARE(answerer.texts().first(), QString("You don't have permission to perform this operation(1040)."));
}

// The 15-s refresh of a failing server would stack a box per attempt behind
// the one the user has not answered yet.
void TestHomeDlg::repeatedErrorWhileItsBoxIsOpen()
{
    CAlertAnswerer answerer(QMessageBox::Ok, 3);
    QTimer::singleShot(0, [] { home()->slot_ucmapi_error(3010, "Meeting does not exist(%1)."); });
    QTimer::singleShot(0, [] { home()->slot_ucmapi_error(1999, "Internal error(%1)."); });
    home()->slot_ucmapi_error(3010, "Meeting does not exist(%1).");
    QTRY_COMPARE(answerer.answered(), 2);
    QTest::qWait(100);
    QCOMPARE(answerer.answered(), 2);
    QCOMPARE(answerer.texts().count("Meeting does not exist(3010)."), 1);
    QCOMPARE(answerer.texts().count("Internal error(1999)."), 1);
    home()->slot_ucmapi_error(3010, "Meeting does not exist(%1).");
    QTRY_COMPARE(answerer.answered(), 3);
}

void TestHomeDlg::leavingUnsavedSipSettingsAsks()
{
    CLoginManager::getInstance().setLoginStatus(enums::AnonymousLoggedIn);
    QTRY_VERIFY(home()->isVisible());
    QStackedWidget *stack = child<QStackedWidget>(home(), "m_pStackedWgtContent");
    CSettingsForm *settings = home()->settingsPage();
    stack->setCurrentWidget(settings);
    QLineEdit *name = child<QLineEdit>(settings, "lineedit_screenname");
    name->setText(name->text() + "-edited");
    QVERIFY(settings->isSipSettingsChanged());
    {
        CAlertAnswerer answerer(QMessageBox::Cancel);
        stack->setCurrentIndex(0);
        QCOMPARE(answerer.answered(), 1);
        QCOMPARE(stack->currentWidget(), static_cast<QWidget *>(settings));
        QCOMPARE(child<QListView>(home(), "m_pLvMenus")->currentIndex().row(), 1);
    }
    CAlertAnswerer answerer(QMessageBox::Ok);
    stack->setCurrentIndex(0);
    QCOMPARE(answerer.answered(), 1);
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(!settings->isSipSettingsChanged());
}

void TestHomeDlg::guestExit()
{
    CLoginManager::getInstance().setLoginStatus(enums::AnonymousLoggedIn);
    QTRY_VERIFY(home()->isVisible());
    // The dark operation bar's look stays there: the join page's own button
    // row is light between its two buttons.
    QWidget *buttonRow = child<QWidget>(home()->joinPage(), "horizontalWidget");
    const QImage row = buttonRow->grab().toImage();
    QVERIFY(!row.isNull());
    QVERIFY(QColor(row.pixel(row.width() / 2, row.height() / 2)).lightness() > 128);
    QTest::mousePress(child<CHomeExitButton>(home(), "m_pBtnExit"), Qt::LeftButton);
    QCOMPARE(CLoginManager::getInstance().getLoginStatus(), enums::NotLogin);
    QTRY_VERIFY(!home()->isVisible());
}

void TestHomeDlg::statusTellsRegistrationToAServer()
{
    // A skipped login without SIP registration: the engine's account works
    // without any server, which it reports as registered.
    kd_app::helpers::CUserConfigUtils::getInstance()->setEnableRegistration(false);
    CLoginManager::getInstance().setLoginStatus(enums::AnonymousLoggedIn);
    QTRY_VERIFY(home()->isVisible());
    QTRY_COMPARE(CLoginManager::getInstance().getRegisterInfo().state, 1);
    QAbstractButton *status = child<QAbstractButton>(home(), "m_pBtnRegisterStatus");
    QCOMPARE(status->text(), QStringLiteral("Offline"));

    m_fixture.signOut();
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    QTRY_COMPARE(status->text(), QStringLiteral("Online"));
}

void TestHomeDlg::dragRestoresAMaximisedWindow()
{
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    const QSize normal = home()->size();
    home()->slotOnWinMax();
    QVERIFY(home()->isMaximizedFlag());
    QVERIFY(child<QWidget>(home(), "m_pBtnMax")->isHidden());
    QWidget *titleBar = child<QWidget>(home(), "m_pWgtTitleBar");
    const QPoint press = titleBar->mapToGlobal(QPoint(200, 10));
    const QPoint offset = press - home()->pos();
    sendMouse(home(), QEvent::MouseButtonPress, press, Qt::LeftButton);
    const QPoint to = press + QPoint(30, 40);
    sendMouse(home(), QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(home(), QEvent::MouseButtonRelease, to, Qt::NoButton);
    QVERIFY(!home()->isMaximizedFlag());
    QCOMPARE(home()->size(), normal);
    QCOMPARE(home()->pos(), to - offset);
    QVERIFY(!child<QWidget>(home(), "m_pBtnMax")->isHidden());
    // A press on the pages does not move the window.
    const QPoint before = home()->pos();
    QWidget *context = child<QWidget>(home(), "m_pWgtContext");
    const QPoint inside = context->mapToGlobal(QPoint(50, 50));
    sendMouse(home(), QEvent::MouseButtonPress, inside, Qt::LeftButton);
    sendMouse(home(), QEvent::MouseMove, inside + QPoint(40, 40), Qt::LeftButton);
    sendMouse(home(), QEvent::MouseButtonRelease, inside + QPoint(40, 40), Qt::NoButton);
    QCOMPARE(home()->pos(), before);
}

void TestHomeDlg::closeAsks()
{
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    // The window manager ends the program on sigClose; here it is only counted.
    QObject::disconnect(home(), &CHomeDlg::sigClose, nullptr, nullptr);
    QSignalSpy closed(home(), &CHomeDlg::sigClose);
    {
        CAlertAnswerer answerer(QMessageBox::Cancel);
        child<QPushButton>(home(), "m_pBtnClose")->click();
        QCOMPARE(answerer.texts(), QStringList{"Are you sure to close app?"});
    }
    QCOMPARE(closed.count(), 0);
    QVERIFY(home()->isVisible());
    CAlertAnswerer answerer(QMessageBox::Ok);
    child<QPushButton>(home(), "m_pBtnClose")->click();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!home()->isVisible());
}

QTEST_MAIN(TestHomeDlg)
#include "tst_homedlg.moc"

void TestHomeDlg::joinButtonShowsItsWholeText_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<double>("scale");
    // The first of the program's fonts that a machine has is used: the
    // Chinese one where it is installed, else the wider DejaVu Sans.
    for (const QString family : {"WenQuanYi Micro Hei", "DejaVu Sans"}) {
        QTest::addRow("%s, scale 1", qPrintable(family)) << family << 96 << 1.0;
        QTest::addRow("%s, scale 1.5", qPrintable(family)) << family << 144 << 1.5;
        QTest::addRow("%s, scale 2", qPrintable(family)) << family << 192 << 2.0;
    }
}

// The title bar's "Join a Meeting" fits its text beside the button's right
// margin, whatever the scale and the font.
void TestHomeDlg::joinButtonShowsItsWholeText()
{
    QFETCH(QString, family);
    QFETCH(int, dpi);
    QFETCH(double, scale);
    const QFont programFont = QApplication::font();
    QFont font = programFont;
    font.setFamilies({family});
    QApplication::setFont(font);
    QVERIFY(m_fixture.signIn("alice", "Alice2026!"));
    QTRY_VERIFY(home()->isVisible());
    // Styles are applied again, with the font, at every change of scale.
    ScopedScreenDpi other(dpi == 96 ? 192 : 96);
    ScopedScreenDpi screen(dpi);
    QTRY_COMPARE(home()->stretchFactor(), scale);
    auto *button = child<QPushButton>(home(), "m_pBtnJoinConf");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QVERIFY(button->isVisible());
    QCOMPARE(QFontInfo(button->font()).family(), family);
    QCOMPARE(button->font().pixelSize(), qRound(14 * scale));
    // What the style needs for the text, the padding and the right margin
    // (checked below, after the application font is back).
    (void)QTest::qWaitFor([button] { return button->width() >= button->sizeHint().width(); }, 1000);
    const int needed = button->sizeHint().width();
    const int width = button->width();
    const bool bigEnough = width >= int(120 * scale);
    // The window buttons keep their places on the right.
    const bool beforeTheWindowButtons =
        button->geometry().right() < child<QPushButton>(home(), "m_pBtnMin")->geometry().left();
    QApplication::setFont(programFont);
    QVERIFY2(width >= needed, qPrintable(QString("%1 px of the %2 px the text needs").arg(width).arg(needed)));
    QVERIFY(bigEnough);
    QVERIFY(beforeTheWindowButtons);
}
