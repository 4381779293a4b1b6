#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "profilefixture.h"
#include "screendpi.h"
#include "windowstestenv.h"
#include "views/profile/cmyheadpicdlg.h"
#include "views/profile/cmyinfodlg.h"
#include "views/profile/cmypassworddlg.h"
#include "views/profile/cpictureeditwidget.h"

using namespace fixture;
using kd_app::views::CMyInfoDlg;

namespace {

QString text(QWidget *dialog, const char *label)
{
    return child<QLabel>(dialog, label)->text();
}

// The display name as the card shows it: a name too wide for its row is cut
// with an ellipsis and told whole in the tooltip.
QString shownName(QWidget *dialog)
{
    const QLabel *label = child<QLabel>(dialog, "m_pLblDisplayName");
    if (label->toolTip().isEmpty()) {
        return label->text();
    }
    const QString cut = label->text();
    return cut.endsWith(QChar(0x2026)) && label->toolTip().startsWith(cut.chopped(1)) ? label->toolTip() : cut;
}

// The mean brightness of the avatar as drawn.
int brightness(QLabel *avatar)
{
    const QImage image = avatar->pixmap(Qt::ReturnByValue).toImage();
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sum += qGray(image.pixel(x, y));
        }
    }
    return image.isNull() ? -1 : int(sum / (image.width() * image.height()));
}

// What a typed name comes to: the card shows it trimmed; a box refuses it and
// the old name stays; or nothing happens (blanks only).
enum RenameOutcome { Renamed, Refused, Ignored };

} // namespace

Q_DECLARE_METATYPE(RenameOutcome)

// The profile card on the engine's account model.
class TestMyInfoDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void showsTheUserRecord();
    void emptyWithoutAUserRecord();
    void rename_data();
    void rename();
    void enterThenClickRenamesOnce();
    void passwordPanelFollowsTheServer_data();
    void passwordPanelFollowsTheServer();
    void avatarHover_data();
    void avatarHover();
    void opensTheAvatarAndPasswordDialogs_data();
    void opensTheAvatarAndPasswordDialogs();
    void logout();
    void screenshots();

private:
    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestMyInfoDlg::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    profile::addModel(m_control);
}

void TestMyInfoDlg::cleanup()
{
    resetClient(m_control);
}

void TestMyInfoDlg::showsTheUserRecord()
{
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "ann", "Ann2026!x"));
    const auto dialog = profile::shownDialog<CMyInfoDlg>();
    QVERIFY(dialog);
    QCOMPARE(text(dialog.get(), "m_pLblDisplayName"), QStringLiteral("安娜 Ann"));
    QCOMPARE(text(dialog.get(), "m_pLblAccountContent"), QStringLiteral("ann"));
    QCOMPARE(text(dialog.get(), "m_pLblUserIdContent"), QStringLiteral("ann"));
    QCOMPARE(text(dialog.get(), "m_pLblOrganizationContent"), QStringLiteral("Example 示例"));
    // The unit: see the end-to-end test, the account model has none.
    QCOMPARE(text(dialog.get(), "m_pLblDepartmentContent"), QString());
    QCOMPARE(text(dialog.get(), "m_pLblEmailContent"), QStringLiteral("ann@conf.example"));
    QCOMPARE(text(dialog.get(), "m_pLblMobileContent"), QString());
    QCOMPARE(text(dialog.get(), "m_pLblDepartmentTitle"), QStringLiteral("Unit"));
}

void TestMyInfoDlg::emptyWithoutAUserRecord()
{
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "ann", "Ann2026!x"));
    m_control->failNext("getUserInfo", 5);
    CMyInfoDlg dialog(nullptr);
    for (const char *label : {"m_pLblDisplayName", "m_pLblAccountContent", "m_pLblUserIdContent",
                              "m_pLblOrganizationContent", "m_pLblDepartmentContent", "m_pLblEmailContent"}) {
        QVERIFY2(text(&dialog, label).isEmpty(), label);
    }
}

void TestMyInfoDlg::rename_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<RenameOutcome>("outcome");

    QTest::newRow("16 characters") << "abcdefghijklmnop" << Renamed;
    QTest::newRow("16 Chinese characters") << "一二三四五六七八九十一二三四五六" << Renamed;
    QTest::newRow("17 characters") << "abcdefghijklmnopq" << Refused;
    QTest::newRow("double quote") << "Ann \"A\"" << Refused;
    QTest::newRow("less than") << "Ann <b>" << Refused;
    QTest::newRow("greater than") << "Ann >" << Refused;
    QTest::newRow("trimmed to 16") << "   abcdefghijklmnop  " << Renamed;
    QTest::newRow("apostrophe and ampersand") << "O'Brien & Co" << Renamed;
    QTest::newRow("only blanks") << "   " << Ignored;
}

void TestMyInfoDlg::rename()
{
    QFETCH(QString, typed);
    QFETCH(RenameOutcome, outcome);
    const bool refused = outcome == Refused;
    const QString shown = outcome == Renamed ? typed.trimmed() : QStringLiteral("安娜 Ann");
    // A "CCM" server: the engine alone renames.
    QVERIFY(profile::signIn(m_control, profile::kCcmServer, "ann", "Ann2026!x"));
    // The account model keeps the name of the row before.
    QVERIFY(CKDSdkManager::getInstance()->changeDisplayName("安娜 Ann"));
    const auto dialog = profile::shownDialog<CMyInfoDlg>();
    QVERIFY(dialog);
    m_control->clearOperations();

    QTest::mouseClick(child<QPushButton>(dialog.get(), "m_pBtnChange"), Qt::LeftButton);
    QLineEdit *editor = dialog->nameEditor();
    QVERIFY(editor);
    QCOMPARE(editor->objectName(), QStringLiteral("m_newNameEdit"));
    QCOMPARE(editor->text(), QStringLiteral("安娜 Ann"));
    QVERIFY(editor->selectedText() == editor->text());
    QVERIFY(!child<QLabel>(dialog.get(), "m_pLblDisplayName")->isVisible());

    CAlertAnswerer answerer(QMessageBox::Ok);
    editor->setText(typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!refused || answerer.answered() == 1);
    QCoreApplication::processEvents();
    settle(m_control);

    const bool blank = typed.trimmed().isEmpty();
    QCOMPARE(operationsNamed(m_control, "changeDisplayName").size(), refused || blank ? 0 : 1);
    QCOMPARE(shownName(dialog.get()), shown);
    if (refused) {
        QCOMPARE(answerer.texts(), QStringList{"Invalid input format"});
        QCOMPARE(answerer.titles(), QStringList{"Prompt"});
        // The rename stays open with the old name.
        QCOMPARE(dialog->nameEditor(), editor);
        QCOMPARE(editor->text(), QStringLiteral("安娜 Ann"));
        return;
    }
    QCOMPARE(answerer.answered(), 0);
    QVERIFY(!dialog->nameEditor());
    QVERIFY(!dialog->findChild<QLineEdit *>("m_newNameEdit"));
    QVERIFY(child<QLabel>(dialog.get(), "m_pLblDisplayName")->isVisible());
    QVERIFY(child<QPushButton>(dialog.get(), "m_pBtnChange")->isVisible());
    if (!blank) {
        kd::engine::KDUserInfo user;
        QVERIFY(CKDSdkManager::getInstance()->getUserInfo(user));
        QCOMPARE(QString::fromStdString(user.displayName), shown);
    }
}

void TestMyInfoDlg::enterThenClickRenamesOnce()
{
    QVERIFY(profile::signIn(m_control, profile::kCcmServer, "ann", "Ann2026!x"));
    const auto dialog = profile::shownDialog<CMyInfoDlg>();
    QVERIFY(dialog);
    m_control->clearOperations();
    QTest::mouseClick(child<QPushButton>(dialog.get(), "m_pBtnChange"), Qt::LeftButton);
    QLineEdit *editor = dialog->nameEditor();
    QVERIFY(editor);
    editor->setText("Annie");
    QTest::keyClick(editor, Qt::Key_Enter);
    // The click on the card's own area arrives before the queued exit.
    QTest::mouseClick(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 200));
    QCoreApplication::processEvents();
    settle(m_control);
    QCOMPARE(operationsNamed(m_control, "changeDisplayName"), QStringList{"changeDisplayName(Annie)"});
    QCOMPARE(shownName(dialog.get()), QStringLiteral("Annie"));
    QVERIFY(!dialog->nameEditor());
}

void TestMyInfoDlg::passwordPanelFollowsTheServer_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("panel");

    QTest::newRow("allowed") << profile::kUcmServer << true;
    QTest::newRow("not allowed") << profile::kLockedServer << false;
}

void TestMyInfoDlg::passwordPanelFollowsTheServer()
{
    QFETCH(QString, server);
    QFETCH(bool, panel);
    QVERIFY(profile::signIn(m_control, server.toLatin1().constData(), "ann", "Ann2026!x"));
    const auto dialog = profile::shownDialog<CMyInfoDlg>();
    QVERIFY(dialog);
    QCOMPARE(child<QWidget>(dialog.get(), "m_pWgtChangePasswordPanel")->isVisible(), panel);
    QVERIFY(child<QWidget>(dialog.get(), "line")->isVisible());
    QVERIFY(child<QWidget>(dialog.get(), "line_2")->isVisible());
    QVERIFY(child<QWidget>(dialog.get(), "m_pBtnLogout")->isVisible());
}

void TestMyInfoDlg::avatarHover_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("scale");

    QTest::newRow("scale 1") << 96 << 1;
    QTest::newRow("scale 2") << 192 << 2;
}

void TestMyInfoDlg::avatarHover()
{
    QFETCH(int, dpi);
    QFETCH(int, scale);
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "ann", "Ann2026!x"));
    ScopedScreenDpi screen(dpi);
    const auto dialog = profile::shownDialog<CMyInfoDlg>();
    QVERIFY(dialog);
    QCOMPARE(dialog->width(), 290 * scale);
    QLabel *avatar = child<QLabel>(dialog.get(), "m_pLblAvatar");
    QCOMPARE(avatar->size(), QSize(60, 60) * scale);
    const int plain = brightness(avatar);
    QVERIFY(plain > 0);
    QCOMPARE(avatar->pixmap(Qt::ReturnByValue).size(), QSize(60, 60) * scale);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(avatar, &enter);
    QLabel *overlay = avatar->findChild<QLabel *>("m_pLblAvatarHover");
    QVERIFY(overlay);
    QVERIFY(overlay->isVisible());
    QCOMPARE(overlay->size(), QSize(24, 24) * scale);
    QCOMPARE(overlay->geometry().center(), avatar->rect().center());
    QVERIFY(overlay->styleSheet().contains("btn_photo"));
    QVERIFY(brightness(avatar) < plain);
    // A second enter does not stack overlays.
    QApplication::sendEvent(avatar, &enter);
    QCOMPARE(avatar->findChildren<QLabel *>("m_pLblAvatarHover").size(), 1);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(avatar, &leave);
    QVERIFY(!avatar->findChild<QLabel *>("m_pLblAvatarHover"));
    QCOMPARE(brightness(avatar), plain);
}

void TestMyInfoDlg::opensTheAvatarAndPasswordDialogs_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("dialogClass");

    QTest::newRow("avatar") << "m_pLblAvatar"
                            << "kd_app::views::CMyHeadpicDlg";
    QTest::newRow("change password") << "m_pBtnChangePassword"
                                     << "kd_app::views::CMyPasswordDlg";
}

void TestMyInfoDlg::opensTheAvatarAndPasswordDialogs()
{
    QFETCH(QString, control);
    QFETCH(QString, dialogClass);
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "ann", "Ann2026!x"));
    const auto dialog = profile::shownDialog<CMyInfoDlg>();
    QVERIFY(dialog);
    QWidget *target = child<QWidget>(dialog.get(), control.toLatin1().constData());
    QWidget *parent = nullptr;
    profile::CModalProbe probe(dialog.get(), [&parent](QWidget *opened) { parent = opened->parentWidget(); });
    QTest::mouseClick(target, Qt::LeftButton);
    QTRY_COMPARE(probe.className(), dialogClass);
    QCOMPARE(parent, dialog.get());
}

void TestMyInfoDlg::logout()
{
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "ann", "Ann2026!x"));
    const auto dialog = profile::shownDialog<CMyInfoDlg>();
    QVERIFY(dialog);
    QTest::mouseClick(child<QPushButton>(dialog.get(), "m_pBtnLogout"), Qt::LeftButton);
    settle(m_control);
    QCOMPARE(CLoginManager::getInstance().getLoginStatus(), enums::NotLogin);
    QVERIFY(!dialog->isVisible());
}

// Only for a person to look at: the three dialogs, kept in the folder
// KD_PROFILE_SHOTS names, at the scale the screen has (QT_FONT_DPI).
void TestMyInfoDlg::screenshots()
{
    const QString folder = qEnvironmentVariable("KD_PROFILE_SHOTS");
    if (folder.isEmpty()) {
        QSKIP("KD_PROFILE_SHOTS names no folder");
    }
    const QString suffix = qEnvironmentVariable("QT_FONT_DPI", "96");
    const auto keep = [&](QWidget *window, const QString &name) {
        QTest::qWait(300);
        QVERIFY(window->grab().save(QString("%1/%2-%3.png").arg(folder, name, suffix)));
    };
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "ann", "Ann2026!x"));
    {
        const auto dialog = profile::shownDialog<CMyInfoDlg>();
        QVERIFY(dialog);
        keep(dialog.get(), "card");
        QLabel *avatar = child<QLabel>(dialog.get(), "m_pLblAvatar");
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(avatar, &enter);
        keep(dialog.get(), "card-hover");
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(avatar, &leave);
        QTest::mouseClick(child<QPushButton>(dialog.get(), "m_pBtnChange"), Qt::LeftButton);
        dialog->nameEditor()->setText("一二三四五六七八九十一二三四五六");
        keep(dialog.get(), "card-rename");
        QTest::keyClick(dialog->nameEditor(), Qt::Key_Return);
        QTRY_VERIFY(!dialog->nameEditor());
        keep(dialog.get(), "card-longname");
    }
    {
        kd_app::views::CMyHeadpicDlg dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        keep(&dialog, "avatar-empty");
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(QColor(0x4c, 0x8b, 0xc9));
        QPainter painter(&picture);
        painter.setBrush(QColor(0xf2, 0xc0, 0x7a));
        painter.drawEllipse(QRect(110, 50, 100, 130));
        painter.end();
        QTemporaryDir dir;
        QVERIFY(picture.save(dir.filePath("face.png")));
        dialog.findChild<CPictureEditWidget *>("widget")->setImage(dir.filePath("face.png"));
        keep(&dialog, "avatar-picture");
    }
    {
        kd_app::views::CMyPasswordDlg dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.findChild<QLineEdit *>("m_LEtOldPassword")->setText("secret");
        keep(&dialog, "password");
    }
}

QTEST_MAIN(TestMyInfoDlg)
#include "tst_myinfodlg.moc"
