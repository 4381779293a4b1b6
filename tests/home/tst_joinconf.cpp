#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "statewait.h"
#include "clientfixture.h"
#include "models/clinguist.h"
#include "views/home/cjoinconfcombo.h"
#include "views/home/cjoinconfdlg.h"
#include "views/home/cjoinconfwidget.h"
#include "views/base/cmodualdlgsmanager.h"
#include "views/home/chomedlg.h"

using namespace fixture;
using kd_app::models::CLinguist;
using kd_app::views::CHomeDlg;
using kd_app::views::CJoinConfDlg;
using kd_app::views::CJoinConfWidget;

namespace {

// The fields of either join form, found by their object names.
struct JoinForm
{
    explicit JoinForm(QWidget *form)
        : combo(form->findChild<CJoinConfCombo *>("m_pCmbBoxConfNumber")),
          password(form->findChild<QLineEdit *>("m_pEditPassword")),
          micOff(form->findChild<QCheckBox *>("m_pChkBoxDisableMic")),
          cameraOff(form->findChild<QCheckBox *>("m_pChkBoxDisableCamera")),
          videoJoin(form->findChild<QPushButton *>("m_pBtnVideoJoin")),
          audioJoin(form->findChild<QPushButton *>("m_pBtnAudioJoin"))
    {
    }

    bool complete() const
    {
        return combo && combo->innerLineEdit() && password && micOff && cameraOff && videoJoin && audioJoin;
    }
    // What the user types goes into the line edit laid over the combo.
    void typeNumber(const QString &text) const
    {
        combo->innerLineEdit()->clear();
        QTest::keyClicks(combo->innerLineEdit(), text);
    }

    CJoinConfCombo *combo;
    QLineEdit *password;
    QCheckBox *micOff;
    QCheckBox *cameraOff;
    QPushButton *videoJoin;
    QPushButton *audioJoin;
};

QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

kd::sdk::KDModelMeeting meeting(const std::string &number, const std::string &password)
{
    kd::sdk::KDModelMeeting result;
    result.number = number;
    result.name = "Meeting " + number;
    result.password = password;
    return result;
}

} // namespace

// The join dialog and the guest's join page: what they show, what they
// remember and what they ask of the call controller and the engine.
class TestJoinConf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstStartDefaults();
    void historyFillsTheList();
    void joinDialsTrimmedNumberAndExactPassword_data();
    void joinDialsTrimmedNumberAndExactPassword();
    void givenNumberLocksTheFields();
    void blankNumberDoesNothing_data();
    void blankNumberDoesNothing();
    void choicesSavedWhenDialFails();
    void devicesFollowTheChoicesThroughConnect_data();
    void devicesFollowTheChoicesThroughConnect();
    void pageKeepsValuesAndReloadsOnShow();
    void languageChangeKeepsButtonTexts();
    void homeOpensTheDialogModal();
    void guestHomeShowsThePage();

private:
    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    bool m_madeRingtone = false;
};

void TestJoinConf::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    m_madeRingtone = provideRingtone();
    m_control->addMeeting(meeting("80001", ""));
    m_control->addMeeting(meeting("80002", "47 11"));
}

void TestJoinConf::init()
{
    resetClient(m_control);
}

void TestJoinConf::cleanup()
{
    resetClient(m_control);
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
    }
}

void TestJoinConf::firstStartDefaults()
{
    // Nothing stored yet in this user's settings: the microphone is switched
    // off for a join, the camera is not.
    CJoinConfDlg dialog(QString(), QString(), false, nullptr);
    dialog.show();
    const JoinForm form(&dialog);
    QVERIFY(form.complete());
    QVERIFY(form.micOff->isChecked());
    QVERIFY(!form.cameraOff->isChecked());
    QCOMPARE(form.videoJoin->text(), QString("Video Join"));
    QCOMPARE(form.audioJoin->text(), QString("Audio Join"));
    QVERIFY(form.audioJoin->isVisible());
    QCOMPARE(form.combo->innerLineEdit()->placeholderText(), QString("Input meeting ID"));
}

void TestJoinConf::historyFillsTheList()
{
    CUserConfigUtils::getInstance()->setConfIds({"80003", "80001", "80002"});
    CJoinConfDlg dialog(QString(), QString(), false, nullptr);
    dialog.show();
    const JoinForm form(&dialog);
    QCOMPARE(itemsOf(form.combo), QStringList({"80003", "80001", "80002"}));
    QCOMPARE(form.combo->currentText(), QString("80003"));
    QCOMPARE(form.combo->innerLineEdit()->text(), QString("80003"));

    // Picking another number shows it in the field.
    form.combo->setCurrentIndex(2);
    QCOMPARE(form.combo->innerLineEdit()->text(), QString("80002"));
}

void TestJoinConf::joinDialsTrimmedNumberAndExactPassword_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("audioOnly");
    QTest::addColumn<QString>("dialled");
    QTest::addColumn<int>("status"); // after the engine answered

    QTest::newRow("video") << "80001"
                           << "" << false << "dialOut(80001,1)" << 5;
    QTest::newRow("audio") << "80001"
                           << "" << true << "dialOut(80001,0)" << 5;
    QTest::newRow("blanks around the number") << "  80001 \t"
                                              << "" << false << "dialOut(80001,1)" << 5;
    QTest::newRow("password with blanks") << "80002"
                                          << "47 11" << false << "dialOut(80002,1)" << 5;
    QTest::newRow("password trimmed would be wrong") << "80002"
                                                     << " 47 11" << false << "dialOut(80002,1)" << 6;
}

void TestJoinConf::joinDialsTrimmedNumberAndExactPassword()
{
    QFETCH(QString, typed);
    QFETCH(QString, password);
    QFETCH(bool, audioOnly);
    QFETCH(QString, dialled);
    QFETCH(int, status);

    QPointer<CJoinConfDlg> dialog = new CJoinConfDlg(QString(), QString(), false, nullptr);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    const JoinForm form(dialog);
    form.typeNumber(typed);
    form.password->setText(password);
    QTest::mouseClick(audioOnly ? form.audioJoin : form.videoJoin, Qt::LeftButton);

    // The dialog closes itself after asking to dial.
    QTRY_VERIFY(!dialog);
    settle(m_control);
    QCOMPARE(operationsNamed(m_control, "dialOut"), QStringList{dialled});
    QCOMPARE(int(CCallController::getInstance().getCallStatus()), status);
}

void TestJoinConf::givenNumberLocksTheFields()
{
    CUserConfigUtils::getInstance()->setConfIds({"80003"});
    for (const QString &password : {QString(), QString("47 11")}) {
        CJoinConfDlg dialog("80002", password, false, nullptr);
        dialog.show();
        const JoinForm form(&dialog);
        QCOMPARE(form.combo->count(), 0);
        QCOMPARE(form.combo->currentText(), QString("80002"));
        QVERIFY(!form.combo->isEnabled());
        QCOMPARE(form.password->text(), password);
        QVERIFY(!form.password->isEnabled());
    }
}

void TestJoinConf::blankNumberDoesNothing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
}

void TestJoinConf::blankNumberDoesNothing()
{
    QFETCH(QString, typed);

    CUserConfigUtils::getInstance()->setDisableMicOnJoinConf(true);
    CJoinConfDlg dialog(QString(), QString(), false, nullptr);
    dialog.show();
    const JoinForm form(&dialog);
    form.typeNumber(typed);
    form.micOff->setChecked(false);
    QTest::mouseClick(form.videoJoin, Qt::LeftButton);
    settle(m_control);

    QVERIFY(dialog.isVisible());
    QVERIFY(operationsNamed(m_control, "dialOut").isEmpty());
    QVERIFY(operationsNamed(m_control, "enableMic").isEmpty());
    // Nothing was stored either.
    QVERIFY(CUserConfigUtils::getInstance()->isDisableMicOnJoinConf());
    QCOMPARE(int(CCallController::getInstance().getCallStatus()), int(enums::Idle));
}

void TestJoinConf::choicesSavedWhenDialFails()
{
    CUserConfigUtils::getInstance()->setDisableMicOnJoinConf(true);
    CUserConfigUtils::getInstance()->setDisableCameraOnJoinConf(false);
    m_control->failNext("dialOut", kd::sdk::KD_ERR_GENERIC);
    CJoinConfDlg dialog(QString(), QString(), false, nullptr);
    dialog.show();
    const JoinForm form(&dialog);
    form.typeNumber("80001");
    form.micOff->setChecked(false);
    form.cameraOff->setChecked(true);
    QTest::mouseClick(form.videoJoin, Qt::LeftButton);
    settle(m_control);

    QCOMPARE(int(CCallController::getInstance().getCallStatus()), int(enums::Ended));
    QVERIFY(!CUserConfigUtils::getInstance()->isDisableMicOnJoinConf());
    QVERIFY(CUserConfigUtils::getInstance()->isDisableCameraOnJoinConf());
    // Read back from the file, as the next start of the program would.
    QSettings stored(CUserConfigUtils::getInstance()->getUserConfigPath() + "/Brivana/Config/config.ini",
                     QSettings::IniFormat);
    QCOMPARE(stored.value("Config/DisableMicOnJoinConf").toString(), QString("false"));
    QCOMPARE(stored.value("Config/DisableCameraOnJoinConf").toString(), QString("true"));
}

void TestJoinConf::devicesFollowTheChoicesThroughConnect_data()
{
    QTest::addColumn<bool>("micOff");
    QTest::addColumn<bool>("cameraOff");

    QTest::newRow("both on") << false << false;
    QTest::newRow("microphone off") << true << false;
    QTest::newRow("camera off") << false << true;
    QTest::newRow("both off") << true << true;
}

void TestJoinConf::devicesFollowTheChoicesThroughConnect()
{
    QFETCH(bool, micOff);
    QFETCH(bool, cameraOff);

    CJoinConfDlg dialog(QString(), QString(), false, nullptr);
    dialog.show();
    const JoinForm form(&dialog);
    form.typeNumber("80001");
    form.micOff->setChecked(micOff);
    form.cameraOff->setChecked(cameraOff);
    QTest::mouseClick(form.videoJoin, Qt::LeftButton);
    settle(m_control);

    QCOMPARE(int(CCallController::getInstance().getCallStatus()), int(enums::Connected));
    QCOMPARE(CCallController::isMicEnabled(), !micOff);
    QCOMPARE(CCallController::isCameraEnabled(), !cameraOff);
}

void TestJoinConf::pageKeepsValuesAndReloadsOnShow()
{
    CUserConfigUtils::getInstance()->setConfIds({"80003"});
    CJoinConfWidget page(nullptr);
    page.show();
    const JoinForm form(&page);
    QVERIFY(form.complete());
    QCOMPARE(itemsOf(form.combo), QStringList{"80003"});

    form.typeNumber("80001");
    form.password->setText("secret");
    form.cameraOff->setChecked(true);
    QTest::mouseClick(form.audioJoin, Qt::LeftButton);
    settle(m_control);
    QCOMPARE(operationsNamed(m_control, "dialOut"), QStringList{"dialOut(80001,0)"});
    // The page stays with what the user entered.
    QVERIFY(page.isVisible());
    QCOMPARE(form.combo->currentText(), QString("80001"));
    QCOMPARE(form.password->text(), QString("secret"));

    // Shown again, it reloads the history and the stored choices and forgets the password.
    CUserConfigUtils::getInstance()->setConfIds({"80001", "80003"});
    page.hide();
    page.show();
    QCOMPARE(itemsOf(form.combo), QStringList({"80001", "80003"}));
    QCOMPARE(form.password->text(), QString());
    QVERIFY(form.cameraOff->isChecked());
}

void TestJoinConf::languageChangeKeepsButtonTexts()
{
    CJoinConfDlg dialog(QString(), QString(), false, nullptr);
    dialog.show();
    CJoinConfWidget page(nullptr);
    page.show();
    CLinguist *linguist = CLinguist::getInstance();
    linguist->changeLanguage(CLinguist::ZH_CN);
    for (QWidget *widget : {static_cast<QWidget *>(&dialog), static_cast<QWidget *>(&page)}) {
        const JoinForm form(widget);
        QVERIFY2(!form.videoJoin->text().isEmpty(), widget->metaObject()->className());
        QVERIFY(form.videoJoin->text() != QString("Video Join"));
        QVERIFY(!form.audioJoin->text().isEmpty());
        QVERIFY(!form.combo->innerLineEdit()->placeholderText().isEmpty());
        QVERIFY(form.micOff->text() != QString("Turn off Microphone"));
    }
    linguist->changeLanguage(CLinguist::EN_US);
    const JoinForm form(&dialog);
    QCOMPARE(form.videoJoin->text(), QString("Video Join"));
    QCOMPARE(form.micOff->text(), QString("Turn off Microphone"));
}

void TestJoinConf::homeOpensTheDialogModal()
{
    CHomeDlg *home = CHomeDlg::getInstance();
    home->show();
    QString className;
    Qt::WindowFlags flags;
    Qt::WindowModality modality = Qt::NonModal;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            return;
        }
        className = modal->metaObject()->className();
        flags = modal->windowFlags();
        modality = modal->windowModality();
        // The window manager's rule for an incoming call: the dialog must go.
        kd_app::views::CModualDlgsManager::closeAllModualDlgs(false);
    });
    QPointer<CHomeDlg> guard(home);
    home->slotOnBtnJoinConfClicked();
    QCOMPARE(className, QString("kd_app::views::CJoinConfDlg"));
    QCOMPARE(modality, Qt::WindowModal);
    QVERIFY((flags & Qt::Tool) == Qt::Tool);
    QVERIFY(flags & Qt::FramelessWindowHint);
    // exec returned and the dialog is gone.
    QVERIFY(home->findChildren<CJoinConfDlg *>().isEmpty());
    home->hide();
}

void TestJoinConf::guestHomeShowsThePage()
{
    CHomeDlg *home = CHomeDlg::getInstance();
    CLoginManager::getInstance().setLoginStatus(enums::AnonymousLoggedIn);
    home->show();
    auto *page = home->findChild<CJoinConfWidget *>();
    QVERIFY(page);
    QVERIFY(page->isVisible());
    CLoginManager::getInstance().setLoginStatus(enums::NotLogin);
    home->hide();
}

QTEST_MAIN(TestJoinConf)
#include "tst_joinconf.moc"
