#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "../login/clientfixture.h"
#include "alertanswerer.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "views/base/alertdlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/share/cpreview.h"
#include "views/call/share/cselectsharecontent.h"
#include "views/call/share/cwidgetcontents.h"
#include "views/call/share/cwidgetcontentsub.h"

using namespace fixture;
using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd::engine::KDContentSourceInfo;
using kd_app::views::AlertDlg;
using kd_app::views::CLayoutPeopleSettingDlg;
using kd_app::views::CSelectShareContent;
using kd_app::views::CWidgetContents;
using kd_app::views::CWidgetContentSub;

namespace {

const QByteArray kSeed = R"({
    "organisation": {"company": 7, "companyShortName": "Testers", "appServerType": "UCM"},
    "users": [{"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice"}],
    "meetings": [{"id": 1, "numericId": 70001, "name": "Running", "startInMinutes": -5, "status": "ONGOING",
                  "applicantId": 1, "userIds": [1]}]
})";

KDContentSourceInfo source(int type, const char *title)
{
    KDContentSourceInfo info;
    info.type = type;
    info.windowTitle = title;
    info.valid = true;
    return info;
}

QStringList tileNames(const CWidgetContents *grid)
{
    QStringList names;
    for (const CWidgetContentSub *tile : grid->tiles()) {
        names << tile->name();
    }
    return names;
}

// Closes a window as soon as a message box shows over it, from the box's
// own event loop: what the toolbar does to the picker when the call ends
// while the picker asks something.
class CCloseOnAsk : public QObject
{
public:
    explicit CCloseOnAsk(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }
    ~CCloseOnAsk() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (qobject_cast<AlertDlg *>(watched) && event->type() == QEvent::Show && m_window) {
            QTimer::singleShot(0, m_window, &QWidget::close);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_window;
};

} // namespace

class TestSharePicker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void tilesForScreensAndWhiteBoard_data();
    void tilesForScreensAndWhiteBoard();
    void gridGeometry_data();
    void gridGeometry();
    void whiteBoardTileTurnsOffOptions();
    void sourceWithoutPixelsShowsAppPicture();
    void nothingSelectedSharesNothing();
    void sharesScreen_data();
    void sharesScreen();
    void whiteBoardRefusals_data();
    void whiteBoardRefusals();
    void callEndsWhileRefusalAsks();
    void sharesWhiteBoard();

private:
    void connectCall(bool withWhiteBoardToken = true);
    // The picker's window under owner, or under a plain window without one.
    CSelectShareContent *openPicker(const std::vector<KDContentSourceInfo> &sources,
                                    std::unique_ptr<QWidget> owner = nullptr);
    QStringList contentOperations();

    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    std::unique_ptr<QWidget> m_owner;
};

void TestSharePicker::initTestCase()
{
    QVERIFY(m_appData.isValid());
    QVERIFY(m_store.loadSeed(kSeed));
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
}

void TestSharePicker::cleanup()
{
    m_owner.reset();
    m_server->clearFaults();
    resetClient(m_control);
    m_control->clearContentSources();
}

void TestSharePicker::connectCall(bool withWhiteBoardToken)
{
    if (!withWhiteBoardToken) {
        CFault refuse;
        refuse.route = "/acsToken";
        refuse.kind = CFault::Kind::ErrorCode;
        refuse.value = 3070;
        m_server->addFault(refuse);
    }
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(login.login("127.0.0.1", false, m_server->port(), "alice", "Alice2026!"));
    QTRY_COMPARE_WITH_TIMEOUT(login.getLoginStatus(), enums::LoggedIn, kdtest::kStateWaitMs);
    CCallController &calls = CCallController::getInstance();
    calls.dialOut("70001", QString(), true, QString());
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!calls.isAcsRequestPending(), kdtest::kStateWaitMs);
    QCOMPARE(calls.getAcsJsonWebToken().isEmpty(), !withWhiteBoardToken);
}

CSelectShareContent *TestSharePicker::openPicker(const std::vector<KDContentSourceInfo> &sources,
                                                 std::unique_ptr<QWidget> owner)
{
    m_owner = owner ? std::move(owner) : std::make_unique<QWidget>();
    auto *picker = new CSelectShareContent(m_owner.get());
    picker->setContentSources(sources);
    picker->setShareAudioChecked(false);
    picker->setFluencyFirstChecked(false);
    picker->show();
    return picker;
}

QStringList TestSharePicker::contentOperations()
{
    static const QStringList names = {"enableContentAudio",    "enableContentHighFPS",  "stopContent",
                                      "setLocalContentWindow", "setLocalContentSource", "sendContent",
                                      "sendWhiteBoard"};
    QStringList result;
    for (const QString &call : operations(m_control)) {
        if (names.contains(call.section('(', 0, 0))) {
            result << call;
        }
    }
    return result;
}

void TestSharePicker::tilesForScreensAndWhiteBoard_data()
{
    QTest::addColumn<bool>("guest");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("signed in") << false << QStringList({"Screen 1", "Screen 2", "WhiteBoard"});
    QTest::newRow("guest") << true << QStringList({"Screen 1", "Screen 2"});
}

void TestSharePicker::tilesForScreensAndWhiteBoard()
{
    QFETCH(bool, guest);
    QFETCH(QStringList, names);
    CLoginManager::getInstance().setLoginStatus(guest ? enums::AnonymousLoggedIn : enums::LoggedIn);
    CSelectShareContent *picker =
        openPicker({source(1, "Editor"), source(0, "DP-1"), source(1, "Mail"), source(0, "DP-2"), source(1, "Notes")});
    QCOMPARE(tileNames(picker->screenGrid()), names);
    QVERIFY(picker->windowGrid()->isHidden());
    QVERIFY(picker->screenGrid()->tiles().first()->isSelected());
    QCOMPARE(picker->screenGrid()->tiles().at(1)->sourceInfo().windowTitle, std::string("DP-2"));
    picker->close();
}

void TestSharePicker::gridGeometry_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("tiles");
    QTest::addColumn<QRect>("last");
    QTest::addColumn<int>("height");
    QTest::newRow("one tile") << 1.0 << 1 << QRect(0, 0, 170, 110) << 120;
    QTest::newRow("four tiles take two rows") << 1.0 << 4 << QRect(540, 0, 170, 110) << 240;
    QTest::newRow("fifth tile starts row two") << 1.0 << 5 << QRect(0, 120, 170, 110) << 240;
    QTest::newRow("scale 1.5") << 1.5 << 5 << QRect(0, 180, 255, 165) << 360;
    QTest::newRow("scale 2") << 2.0 << 4 << QRect(1080, 0, 340, 220) << 480;
}

void TestSharePicker::gridGeometry()
{
    QFETCH(double, scale);
    QFETCH(int, tiles);
    QFETCH(QRect, last);
    QFETCH(int, height);
    CWidgetContents grid;
    std::vector<KDContentSourceInfo> screens;
    for (int i = 0; i < tiles; ++i) {
        screens.push_back(source(0, "screen"));
    }
    grid.setContentSources(screens, 0);
    grid.layoutTiles(false);
    grid.setScale(scale);
    grid.layoutTiles(false);
    QCOMPARE(grid.tiles().last()->geometry(), last);
    QCOMPARE(grid.height(), height);
    QCOMPARE(grid.tiles().last()->preview()->size(), QSize(int(110 * scale), int(70 * scale)));
}

void TestSharePicker::whiteBoardTileTurnsOffOptions()
{
    CLoginManager::getInstance().setLoginStatus(enums::LoggedIn);
    CSelectShareContent *picker = openPicker({source(0, "DP-1")});
    picker->shareSoundBox()->setChecked(true);
    picker->fluencyBox()->setChecked(true);
    const QVector<CWidgetContentSub *> &tiles = picker->screenGrid()->tiles();

    QTest::mouseClick(tiles.at(1), Qt::LeftButton);
    QVERIFY(tiles.at(1)->isSelected());
    QVERIFY(!tiles.at(0)->isSelected());
    for (QCheckBox *box : {picker->shareSoundBox(), picker->fluencyBox()}) {
        QVERIFY(!box->isChecked());
        QVERIFY(!box->isEnabled());
    }

    QTest::mouseClick(tiles.at(0), Qt::LeftButton);
    for (QCheckBox *box : {picker->shareSoundBox(), picker->fluencyBox()}) {
        QVERIFY(!box->isChecked());
        QVERIFY(box->isEnabled());
    }
    picker->close();
}

void TestSharePicker::sourceWithoutPixelsShowsAppPicture()
{
    m_control->failNext("getContentSourceBitmap", kd::sdk::KD_ERR_GENERIC);
    CSelectShareContent *picker = openPicker({source(0, "DP-1"), source(0, "DP-2")});
    const QVector<CWidgetContentSub *> &tiles = picker->screenGrid()->tiles();
    QVERIFY(!tiles.at(0)->preview()->hasThumbnail());
    QVERIFY(tiles.at(0)->preview()->styleSheet().contains("icon_app.png"));
    QVERIFY(tiles.at(1)->preview()->hasThumbnail());
    QVERIFY(tiles.last()->preview()->styleSheet().contains("icon_whiteboard.png"));
    picker->close();
}

void TestSharePicker::nothingSelectedSharesNothing()
{
    CLoginManager::getInstance().setLoginStatus(enums::AnonymousLoggedIn);
    CSelectShareContent *picker = openPicker({source(1, "Editor")});
    QPointer<CSelectShareContent> alive(picker);
    QVERIFY(picker->screenGrid()->tiles().isEmpty());
    QVERIFY(!picker->shareButton()->isEnabled());
    m_control->clearOperations();
    picker->on_pBtShare_clicked();
    QVERIFY(contentOperations().isEmpty());
    QVERIFY(alive);
    picker->close();
}

void TestSharePicker::sharesScreen_data()
{
    QTest::addColumn<bool>("sendingWhiteBoard");
    QTest::addColumn<bool>("byDoubleClick");
    QTest::addColumn<QStringList>("calls");
    const QStringList send{"enableContentAudio(1)", "enableContentHighFPS(0)", "setLocalContentWindow(0,0)",
                           "setLocalContentSource(0,%1)", "sendContent()"};
    QStringList afterWhiteBoard = send;
    afterWhiteBoard.insert(2, "stopContent()");
    QTest::newRow("share button") << false << false << send;
    QTest::newRow("double-click") << false << true << send;
    QTest::newRow("whiteboard stopped first") << true << false << afterWhiteBoard;
}

void TestSharePicker::sharesScreen()
{
    QFETCH(bool, sendingWhiteBoard);
    QFETCH(bool, byDoubleClick);
    QFETCH(QStringList, calls);
    connectCall();
    CCallController &call = CCallController::getInstance();
    if (sendingWhiteBoard) {
        QVERIFY(CKDSdkManager::getInstance()->sendWhiteBoard());
        QTRY_COMPARE(call.getContentStreamStatus(), int(enums::ContentStreamStatus_SendingWhiteBoardStarted));
    }
    const std::vector<KDContentSourceInfo> sources = CKDSdkManager::getInstance()->getContentSourceList();
    const QString screen = QString::fromStdString(sources.front().windowTitle);
    auto owned = std::make_unique<CLayoutPeopleSettingDlg>(nullptr);
    CLayoutPeopleSettingDlg *engine = owned.get();
    CSelectShareContent *picker = openPicker(sources, std::move(owned));
    QPointer<CSelectShareContent> alive(picker);
    // As left by an earlier share on another screen.
    engine->setSharedScreenIndex(1);
    picker->shareSoundBox()->setChecked(true);
    m_control->clearOperations();

    CWidgetContentSub *first = picker->screenGrid()->tiles().first();
    if (byDoubleClick) {
        QTest::mouseDClick(first, Qt::LeftButton);
    } else {
        QTest::mouseClick(picker->shareButton(), Qt::LeftButton);
    }

    QCOMPARE(contentOperations().join(' '), calls.join(' ').arg(screen));
    QTRY_COMPARE(call.getContentStreamStatus(), int(enums::ContentStreamStatus_SendingContentStarted));
    // The layout engine that owns the picker's window hears the screen shared.
    QCOMPARE(engine->sharedScreenIndex(), 0);
    QTRY_VERIFY(!alive);
}

void TestSharePicker::whiteBoardRefusals_data()
{
    QTest::addColumn<bool>("token");
    QTest::addColumn<QString>("message");
    QTest::newRow("no whiteboard token") << false << "Service is not connected, please wait...";
    QTest::newRow("receiving the whiteboard") << true << "Receiving whiteboard.";
}

void TestSharePicker::whiteBoardRefusals()
{
    QFETCH(bool, token);
    QFETCH(QString, message);
    connectCall(token);
    if (token) {
        m_control->injectRemoteContent(true, true, "Bob");
        QTRY_COMPARE(CCallController::getInstance().getContentStreamStatus(),
                     int(enums::ContentStreamStatus_ReceivingWhiteBoardStarted));
    }
    CSelectShareContent *picker = openPicker({source(0, "DP-1")});
    QPointer<CSelectShareContent> alive(picker);
    QTest::mouseClick(picker->screenGrid()->tiles().last(), Qt::LeftButton);
    m_control->clearOperations();
    CAlertAnswerer answerer(QMessageBox::Yes);

    QTest::mouseClick(picker->shareButton(), Qt::LeftButton);

    QCOMPARE(answerer.texts(), QStringList{message});
    QVERIFY(operationsNamed(m_control, "sendWhiteBoard").isEmpty());
    QTRY_VERIFY(!alive);
}

void TestSharePicker::callEndsWhileRefusalAsks()
{
    connectCall(false);
    CSelectShareContent *picker = openPicker({source(0, "DP-1")});
    QPointer<CSelectShareContent> alive(picker);
    QTest::mouseClick(picker->screenGrid()->tiles().last(), Qt::LeftButton);
    m_control->clearOperations();
    CCloseOnAsk closer(picker);

    // Nothing may touch the picker once the box's loop has deleted it.
    picker->on_pBtShare_clicked();

    QVERIFY(!alive);
    QVERIFY(operationsNamed(m_control, "sendWhiteBoard").isEmpty());
}

void TestSharePicker::sharesWhiteBoard()
{
    connectCall();
    CSelectShareContent *picker = openPicker({source(0, "DP-1")});
    QTest::mouseClick(picker->screenGrid()->tiles().last(), Qt::LeftButton);
    m_control->clearOperations();
    QTest::mouseClick(picker->shareButton(), Qt::LeftButton);
    QCOMPARE(contentOperations(), QStringList({"enableContentAudio(0)", "enableContentHighFPS(0)",
                                               "setLocalContentWindow(0,0)", "sendWhiteBoard()"}));
    QTRY_COMPARE(CCallController::getInstance().getContentStreamStatus(),
                 int(enums::ContentStreamStatus_SendingWhiteBoardStarted));
}

QTEST_MAIN(TestSharePicker)
#include "tst_sharepicker.moc"
