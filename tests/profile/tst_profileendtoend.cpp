#include <QImage>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "profilefixture.h"
#include "models/curlpixmap.h"
#include "views/base/cwaitingdlg.h"
#include "views/contacts/ccontactslistview.h"
#include "views/contacts/ccontactswidget.h"
#include "views/home/chomedlg.h"
#include "views/profile/cmyheadpicdlg.h"
#include "views/profile/cmyinfodlg.h"
#include "views/profile/cmypassworddlg.h"
#include "views/profile/cpictureeditwidget.h"

using namespace fixture;
using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd_app::views::CContactsWidget;
using kd_app::views::CHomeDlg;
using kd_app::views::CMyHeadpicDlg;
using kd_app::views::CMyInfoDlg;
using kd_app::views::CMyPasswordDlg;

namespace {

QByteArray seed(const QString &serverType)
{
    return QString(R"({
        "organisation": {"companyShortName": "Harbour 港口", "appServerType": "%1"},
        "users": [
            {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Ärger",
             "dept": "Operations 运营", "cellphone": "+44 7700 900101", "email": "alice@harbour.example",
             "sipUserName": "6001"},
            {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob"}
        ],
        "contacts": [{"ownerId": 1, "userId": 1}]
    })")
        .arg(serverType)
        .toUtf8();
}

int count(const CConfServer &server, const std::string &route)
{
    return int(server.requestsTo(route).size());
}

// Requests to exactly this path, whatever their query.
int countPath(const CConfServer &server, const std::string &path)
{
    int found = 0;
    for (const std::string &target : server.requestsTo(path)) {
        found += target.substr(0, target.find('?')) == path ? 1 : 0;
    }
    return found;
}

} // namespace

// The profile, avatar and password dialogs over real HTTP against the local
// server: what the user changes is what the server keeps.
class TestProfileEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void renameOnACcmServerSkipsTheRestQuery();
    void homeOpensTheCardBesideItsContent();
    void renameIsKeptByTheServer();
    void uploadBecomesTheServersPicture();
    void contactsShowTheUploadedPicture();
    void serverRefusesTheUpload();
    void changePasswordThenSignInWithIt_data();
    void changePasswordThenSignInWithIt();

private:
    bool signIn(const QString &serverType, const QString &user, const QString &password);
    void rename(CMyInfoDlg *dialog, const QString &name);
    // Uploads a picture of one colour through the avatar dialog; the canvas
    // the dialog sent (null when it stayed open), the texts it showed.
    QImage uploadFace(const QColor &colour, QStringList *answers);

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestProfileEndToEnd::initTestCase()
{
    QVERIFY(m_appData.isValid());
    QVERIFY(m_store.loadSeed(seed("UCM")));
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
}

void TestProfileEndToEnd::cleanup()
{
    resetClient(m_control);
}

bool TestProfileEndToEnd::signIn(const QString &serverType, const QString &user, const QString &password)
{
    if (!m_store.loadSeed(seed(serverType))) {
        return false;
    }
    CLoginManager &login = CLoginManager::getInstance();
    if (!login.login("127.0.0.1", false, m_server->port(), user, password)) {
        return false;
    }
    return QTest::qWaitFor([&login] { return login.getLoginStatus() != enums::LoggingIn; }, 10000) &&
           login.getLoginStatus() == enums::LoggedIn;
}

QImage TestProfileEndToEnd::uploadFace(const QColor &colour, QStringList *answers)
{
    QTemporaryDir pictures;
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(colour);
    picture.save(pictures.filePath("face.png"));
    CMyHeadpicDlg dialog(nullptr);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        return QImage();
    }
    auto *frame = dialog.findChild<CPictureEditWidget *>("widget");
    frame->setImage(pictures.filePath("face.png"));
    const QImage canvas = frame->getPixmap().toImage();
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    CAlertAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(dialog.findChild<QPushButton *>("m_pBtnUpload"), Qt::LeftButton);
    const bool answered = QTest::qWaitFor([&answerer] { return answerer.answered() > 0; }, 10000);
    *answers = answerer.texts();
    if (!answered) {
        return QImage();
    }
    return accepted.isEmpty() ? QImage() : canvas;
}

void TestProfileEndToEnd::rename(CMyInfoDlg *dialog, const QString &name)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>("m_pBtnChange"), Qt::LeftButton);
    QLineEdit *editor = dialog->nameEditor();
    QVERIFY(editor);
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    // The focus leaves the editor while the server is asked.
    QTest::mouseClick(dialog, Qt::LeftButton, Qt::NoModifier, QPoint(10, 200));
    QTRY_VERIFY(!dialog->nameEditor());
    QTest::qWait(50);
}

void TestProfileEndToEnd::renameOnACcmServerSkipsTheRestQuery()
{
    QVERIFY(signIn("CCM", "alice", "Alice2026!"));
    CMyInfoDlg dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int restBefore = count(*m_server, "/api/rest/v2.0/users");
    const int renamesBefore = count(*m_server, "/user/displayName");
    rename(&dialog, "Alice C");
    QCOMPARE(count(*m_server, "/user/displayName"), renamesBefore + 1);
    QCOMPARE(count(*m_server, "/api/rest/v2.0/users"), restBefore);
    const QString token = CLoginManager::getInstance().getLoginToken();
    QCOMPARE(m_store.user(token, "1").value.toObject().value("displayName").toString(), QStringLiteral("Alice C"));
}

void TestProfileEndToEnd::homeOpensTheCardBesideItsContent()
{
    QVERIFY(signIn("UCM", "alice", "Alice2026!"));
    CHomeDlg *home = CHomeDlg::getInstance();
    home->show();
    QVERIFY(QTest::qWaitForWindowExposed(home));
    QPoint position;
    QPoint expected;
    QMap<QString, QString> shown;
    profile::CModalProbe probe(nullptr, [&](QWidget *opened) {
        position = opened->pos();
        expected = home->getContentTopLeft();
        for (const char *label :
             {"m_pLblDisplayName", "m_pLblAccountContent", "m_pLblUserIdContent", "m_pLblOrganizationContent",
              "m_pLblDepartmentContent", "m_pLblMobileContent", "m_pLblEmailContent"}) {
            shown[label] = opened->findChild<QLabel *>(label)->text();
        }
    });
    QTest::mouseClick(home->findChild<QWidget *>("m_pLblAvatar"), Qt::LeftButton);
    QCOMPARE(probe.className(), QStringLiteral("kd_app::views::CMyInfoDlg"));
    QCOMPARE(position, expected);
    QCOMPARE(shown["m_pLblDisplayName"], QStringLiteral("Alice Ärger"));
    QCOMPARE(shown["m_pLblAccountContent"], QStringLiteral("alice"));
    QCOMPARE(shown["m_pLblUserIdContent"], QStringLiteral("6001"));
    QCOMPARE(shown["m_pLblOrganizationContent"], QStringLiteral("Harbour 港口"));
    QCOMPARE(shown["m_pLblDepartmentContent"], QStringLiteral("Operations 运营"));
    QCOMPARE(shown["m_pLblMobileContent"], QStringLiteral("+44 7700 900101"));
    QCOMPARE(shown["m_pLblEmailContent"], QStringLiteral("alice@harbour.example"));
    home->hide();
}

void TestProfileEndToEnd::renameIsKeptByTheServer()
{
    QVERIFY(signIn("UCM", "alice", "Alice2026!"));
    CMyInfoDlg dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int restBefore = count(*m_server, "/api/rest/v2.0/users/1");
    const int renamesBefore = count(*m_server, "/user/displayName");
    rename(&dialog, "  Alicia 爱丽丝 ");
    // Once, though the focus left the editor while the server was asked.
    QCOMPARE(count(*m_server, "/user/displayName"), renamesBefore + 1);
    QTRY_COMPARE(count(*m_server, "/api/rest/v2.0/users/1"), restBefore + 1);
    QCOMPARE(dialog.findChild<QLabel *>("m_pLblDisplayName")->text(), QStringLiteral("Alicia 爱丽丝"));

    // The server keeps it: its user record, and the engine's refresh of
    // the signed-in user, both tell the new name.
    const QString token = CLoginManager::getInstance().getLoginToken();
    QCOMPARE(m_store.user(token, "1").value.toObject().value("displayName").toString(),
             QStringLiteral("Alicia 爱丽丝"));
    kd::engine::KDUserInfo user;
    QVERIFY(CKDSdkManager::getInstance()->getUserInfo(user));
    QCOMPARE(QString::fromStdString(user.displayName), QStringLiteral("Alicia 爱丽丝"));
    QCOMPARE(QString::fromStdString(user.dept), QStringLiteral("Operations 运营"));
}

void TestProfileEndToEnd::uploadBecomesTheServersPicture()
{
    QVERIFY(signIn("UCM", "alice", "Alice2026!"));
    QSignalSpy redrawn(&CLoginManager::getInstance(), &CLoginManager::sigAvatarDownloadedOk);
    QStringList answers;
    const QImage canvas = uploadFace(QColor(200, 30, 30), &answers);
    QCOMPARE(answers, QStringList{"Upload picture succeeded"});
    QCOMPARE(redrawn.size(), 1);

    const QImage stored = QImage::fromData(m_store.avatar(1));
    QCOMPARE(stored.size(), canvas.size());
    for (const QPoint at : {QPoint(100, 100), QPoint(30, 50), QPoint(5, 5), QPoint(100, 190)}) {
        const QColor want = canvas.pixelColor(at);
        const QColor got = stored.pixelColor(at);
        QVERIFY2(qAbs(want.red() - got.red()) < 25 && qAbs(want.green() - got.green()) < 25,
                 qPrintable(QString("at %1,%2").arg(at.x()).arg(at.y())));
    }
    const QImage cached(CUserConfigUtils::getInstance()->getHeadPicPath());
    QCOMPARE(cached.size(), canvas.size());
    QVERIFY(!QFile::exists(CMyHeadpicDlg::uploadFilePath()));
}

void TestProfileEndToEnd::contactsShowTheUploadedPicture()
{
    QVERIFY(signIn("UCM", "alice", "Alice2026!"));
    CContactsWidget::clearCachedLists();
    CContactsWidget contacts(nullptr);
    contacts.show();
    QVERIFY(QTest::qWaitForWindowExposed(&contacts));
    contacts.refreshContacts();
    CContactsListview *list = contacts.contactsList();
    const auto ownRow = [list] {
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            if (list->contactAt(row).contact.userId == 1) {
                return row;
            }
        }
        return -1;
    };
    const auto blue = [](const QPixmap &shown) {
        const QImage image = shown.toImage();
        const QColor centre = image.isNull() ? QColor() : image.pixelColor(image.rect().center());
        return centre.isValid() && centre.blue() > 180 && centre.red() < 100;
    };
    // The server's own picture of the user is downloaded first, then replaced.
    QTRY_VERIFY(ownRow() >= 0);
    const QString address = list->contactAt(ownRow()).contact.imageURL;
    QTRY_VERIFY(kd_app::models::g_urlPixmapCache.contains(address));
    QTRY_VERIFY(!list->contactAt(ownRow()).avatar.isNull());
    QVERIFY(!blue(list->contactAt(ownRow()).avatar));
    list->setCurrentIndex(list->model()->index(ownRow(), 0));
    contacts.slot_current_changed(ownRow());

    QStringList answers;
    uploadFace(QColor(30, 30, 220), &answers);
    QCOMPARE(answers, QStringList{"Upload picture succeeded"});
    QTRY_VERIFY(blue(list->contactAt(ownRow()).avatar));
    QVERIFY(blue(contacts.findChild<QLabel *>("widget_head")->pixmap(Qt::ReturnByValue)));
}

void TestProfileEndToEnd::serverRefusesTheUpload()
{
    QVERIFY(signIn("UCM", "alice", "Alice2026!"));
    QTemporaryDir pictures;
    QImage picture(80, 80, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QVERIFY(picture.save(pictures.filePath("face.png")));
    const QByteArray before = m_store.avatar(1);

    CMyHeadpicDlg dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.findChild<CPictureEditWidget *>("widget")->setImage(pictures.filePath("face.png"));
    m_server->addFault(CFault{"/api/engine/v1/avatar", CFault::Kind::ErrorCode, 1020, 1});
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    CAlertAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(dialog.findChild<QPushButton *>("m_pBtnUpload"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered(), 1, kdtest::kStateWaitMs);
    QCOMPARE(answerer.texts(), QStringList{"Upload picture failed."});
    QVERIFY(accepted.isEmpty());
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.waitingDlg()->isVisible());
    QCOMPARE(m_store.avatar(1), before);
}

void TestProfileEndToEnd::changePasswordThenSignInWithIt_data()
{
    QTest::addColumn<QString>("serverType");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("refusal");
    // What the dialog lets through, the server takes.
    QTest::newRow("shortest of the local rule") << "UCM"
                                                << "abcd" << QString();
    QTest::newRow("longest of the local rule") << "UCM"
                                               << "Sixteen-chars-ok" << QString();
    QTest::newRow("over the local rule") << "UCM"
                                         << "Twenty-characters-pw"
                                         << "Wrong new password format.(4-16 characters and no spaces)";
    QTest::newRow("server's own policy") << "CCM"
                                         << "Harbour77" << QString();
}

void TestProfileEndToEnd::changePasswordThenSignInWithIt()
{
    QFETCH(QString, serverType);
    QFETCH(QString, newPassword);
    QFETCH(QString, refusal);
    QVERIFY(signIn(serverType, "bob", "Bob2026!"));
    const int changesBefore = countPath(*m_server, "/api/engine/v1/password");
    CMyPasswordDlg dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.findChild<QLineEdit *>("m_LEtOldPassword")->setText("Bob2026!");
    dialog.findChild<QLineEdit *>("m_LEtNewPassword")->setText(newPassword);
    dialog.findChild<QLineEdit *>("m_LEtConfirmPassword")->setText(newPassword + " ");
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    CAlertAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(dialog.findChild<QPushButton *>("m_pBtnOK"), Qt::LeftButton);
    if (!refusal.isEmpty()) {
        QCOMPARE(answerer.texts(), QStringList{refusal});
        QCOMPARE(accepted.size(), 0);
        QCOMPARE(countPath(*m_server, "/api/engine/v1/password"), changesBefore);
        return;
    }
    QCOMPARE(answerer.texts(), QStringList());
    QCOMPARE(accepted.size(), 1);
    QCOMPARE(countPath(*m_server, "/api/engine/v1/password"), changesBefore + 1);

    CLoginManager &login = CLoginManager::getInstance();
    login.logout();
    settle(m_control);
    // The seed is not loaded again: the server keeps the new password.
    QVERIFY(login.login("127.0.0.1", false, m_server->port(), "bob", newPassword));
    QTRY_COMPARE_WITH_TIMEOUT(login.getLoginStatus(), enums::LoggedIn, kdtest::kStateWaitMs);
}

QTEST_MAIN(TestProfileEndToEnd)
#include "tst_profileendtoend.moc"
