#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "helpers/cuserconfigutils.h"
#include "views/base/alertdlg.h"
#include "views/base/cmodualdlgsmanager.h"
#include "views/call/toolbar/cdtmfdlg.h"
#include "views/home/cjoinconfdlg.h"
#include "views/profile/cmypassworddlg.h"

using kd_app::views::AlertDlg;
using kd_app::views::CModualDlgsManager;

namespace {

// A password dialog busy with something it will not drop on request. It
// keeps its class's name (no meta-object of its own), which is all the
// clean-up looks at.
class CStubbornDlg : public kd_app::views::CMyPasswordDlg
{
public:
    CStubbornDlg() : CMyPasswordDlg(nullptr) {}
    void reject() override { ++rejects; }
    int rejects = 0;
};

} // namespace

namespace {

QDialog *showModal(QDialog *dialog)
{
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    return dialog;
}

} // namespace

class TestAlertDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void answersWithButtonPressed_data();
    void answersWithButtonPressed();
    void defaultButtonHasFocus();
    void newBoxReplacesOpenOne();
    void nonModalBoxClosesItselfAndIsReplaced();
    void freeFormReportsButtonsAndStaysOpen();
    void scalesWithDisplay();
    void parentProviderOnlyStandsInForMissingParent();
    void closeAllStopsAtFirstUnlistedDialog();
    void closeAllWithoutOnlyAlertsEndsListedDialogs();
    void closeAllGivesUpOnDialogThatStays();
    void closeAllEndsADialogOverOurs();
    void parentDestroyedWhileAsking();

private:
    QTemporaryDir m_appData;
};

void TestAlertDlg::initTestCase()
{
    // The real join dialog reads the user's recent numbers when shown.
    QVERIFY(m_appData.isValid());
    qputenv("appdata", QFile::encodeName(m_appData.path()));
    kd_app::helpers::CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()));
}

void TestAlertDlg::cleanup()
{
    AlertDlg::setParentProvider(nullptr);
    // Deleting one window may delete others with it (a combo's popup).
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        windows << window;
    }
    for (const QPointer<QWidget> &window : windows) {
        delete window.data();
    }
}

void TestAlertDlg::answersWithButtonPressed_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("expected");
    QTest::newRow("ok") << int(QMessageBox::Ok) << int(QMessageBox::Ok) << int(QMessageBox::Ok);
    QTest::newRow("yes of yes/no") << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Yes)
                                   << int(QMessageBox::Yes);
    QTest::newRow("no of yes/no") << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::No)
                                  << int(QMessageBox::No);
    QTest::newRow("cancel of ok/cancel") << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Cancel)
                                         << int(QMessageBox::Cancel);
    QTest::newRow("closed") << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::NoButton)
                            << int(QMessageBox::Cancel);
}

void TestAlertDlg::answersWithButtonPressed()
{
    QFETCH(int, buttons);
    QFETCH(int, answer);
    QFETCH(int, expected);
    CAlertAnswerer answerer{QMessageBox::StandardButton(answer)};
    const int result = buttons == QMessageBox::Ok
                           ? AlertDlg::information(nullptr, "Title", "Text")
                           : AlertDlg::question(nullptr, "Title", "Text", QMessageBox::StandardButtons(buttons),
                                                QMessageBox::NoButton);
    QCOMPARE(result, expected);
    QCOMPARE(answerer.texts(), QStringList("Text"));
}

void TestAlertDlg::defaultButtonHasFocus()
{
    AlertDlg box(nullptr, "Title", "Leave?", QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QPushButton *no = box.buttonBox()->button(QDialogButtonBox::No);
    QPushButton *yes = box.buttonBox()->button(QDialogButtonBox::Yes);
    QVERIFY(no->isDefault());
    QVERIFY(no->hasFocus());
    QCOMPARE(no->text(), QString("No"));
    QCOMPARE(no->objectName(), QString("CancelNoButton"));
    QCOMPARE(yes->text(), QString("Yes"));
    QCOMPARE(yes->objectName(), QString("OkYesButton"));
    QCOMPARE(box.findChild<QLabel *>("m_title")->text(), QString("Title"));
}

void TestAlertDlg::newBoxReplacesOpenOne()
{
    int second = -1;
    QTimer::singleShot(0, [&second] {
        CAlertAnswerer answerer(QMessageBox::Ok);
        second = AlertDlg::information(nullptr, "Second", "Second message");
    });
    // The first box has only Ok, yet being replaced counts as not answered.
    const int first = AlertDlg::information(nullptr, "First", "First message");
    QCOMPARE(second, int(QMessageBox::Ok));
    QCOMPARE(first, int(QMessageBox::Cancel));
}

void TestAlertDlg::nonModalBoxClosesItselfAndIsReplaced()
{
    AlertDlg::informationNonModal(nullptr, "Error", "First error");
    QPointer<AlertDlg> first = qobject_cast<AlertDlg *>(QApplication::activeModalWidget());
    QVERIFY(first);
    QVERIFY(first->isNonModal());

    AlertDlg::informationNonModal(nullptr, "Error", "Second error");
    QTRY_VERIFY(!first);
    QPointer<AlertDlg> second = qobject_cast<AlertDlg *>(QApplication::activeModalWidget());
    QVERIFY(second);
    QCOMPARE(second->findChild<QLabel *>("m_alertContent")->text(), QString("Second error"));

    second->buttonBox()->button(QDialogButtonBox::Ok)->click();
    QTRY_VERIFY(!second);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestAlertDlg::freeFormReportsButtonsAndStaysOpen()
{
    QPointer<AlertDlg> box = new AlertDlg(nullptr);
    box->setContent("Leave the meeting?");
    box->setButton1Text("Leave");
    box->setButton2Text("Stay");
    QSignalSpy one(box.data(), &AlertDlg::sigClickButton1);
    QSignalSpy two(box.data(), &AlertDlg::sigClickButton2);
    QSignalSpy closed(box.data(), &AlertDlg::sigCloseWindow);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QVERIFY(box->findChild<QPushButton *>("m_button1")->isVisible());
    QVERIFY(!box->findChild<QPushButton *>("m_button3")->isVisible());

    QTest::mouseClick(box->findChild<QPushButton *>("m_button1"), Qt::LeftButton);
    QTest::mouseClick(box->findChild<QPushButton *>("m_button2"), Qt::LeftButton);
    QCOMPARE(one.count(), 1);
    QCOMPARE(two.count(), 1);
    QVERIFY(box->isVisible());

    QTest::mouseClick(box->findChild<QPushButton *>("m_closeBtn"), Qt::LeftButton);
    QCOMPARE(closed.count(), 1);
    QTRY_VERIFY(!box);
}

void TestAlertDlg::scalesWithDisplay()
{
    AlertDlg box(nullptr, "Title", "Text", QMessageBox::Ok, QMessageBox::NoButton);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.size(), QSize(430, 230));

    box.updateDpi(192);
    QCOMPARE(box.size(), QSize(860, 460));
    QCOMPARE(box.findChild<QLabel *>("m_alertContent")->font().pixelSize(), 28);
    QCOMPARE(box.findChild<QPushButton *>("m_button1")->font().pixelSize(), 24);
    QCOMPARE(box.titleHeight(), 60);
    QVERIFY(box.styleSheet().contains("closed_normal_2x.png"));

    box.updateDpi(96);
    QCOMPARE(box.size(), QSize(430, 230));
    QCOMPARE(box.titleHeight(), 30);
    QVERIFY(!box.styleSheet().contains("_2x.png"));
}

void TestAlertDlg::parentProviderOnlyStandsInForMissingParent()
{
    QWidget main;
    QWidget other;
    AlertDlg::setParentProvider([&main] { return &main; });
    QList<QWidget *> parents;
    QTimer::singleShot(0, [&parents] { parents << QApplication::activeModalWidget()->parentWidget(); });
    CAlertAnswerer first(QMessageBox::Ok);
    AlertDlg::information(nullptr, "t", "no parent");
    QTimer::singleShot(0, [&parents] { parents << QApplication::activeModalWidget()->parentWidget(); });
    CAlertAnswerer second(QMessageBox::Ok);
    AlertDlg::information(&other, "t", "own parent");
    QCOMPARE(parents, QList<QWidget *>({&main, &other}));
}

void TestAlertDlg::closeAllStopsAtFirstUnlistedDialog()
{
    QPointer<QDialog> join = showModal(new kd_app::views::CJoinConfDlg(QString(), QString(), false, nullptr));
    AlertDlg::informationNonModal(nullptr, "Error", "On top of the join dialog");
    QPointer<QWidget> alert = QApplication::activeModalWidget();
    QVERIFY(qobject_cast<AlertDlg *>(alert));

    CModualDlgsManager::closeAllModualDlgs(true);
    QTRY_VERIFY(!alert);
    QVERIFY(join->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), join.data());

    // Nothing above the join dialog is a message box: it stays.
    CModualDlgsManager::closeAllModualDlgs(true);
    QVERIFY(join->isVisible());
}

void TestAlertDlg::closeAllWithoutOnlyAlertsEndsListedDialogs()
{
    QPointer<QDialog> bottom = showModal(new QDialog);
    QPointer<QDialog> join = showModal(new kd_app::views::CJoinConfDlg(QString(), QString(), false, nullptr));
    QSignalSpy joinRejected(join.data(), &QDialog::rejected);
    QPointer<QWidget> dial = new kd_app::views::CDTMFDlg(nullptr);
    dial->setAttribute(Qt::WA_DeleteOnClose);
    dial->setWindowModality(Qt::ApplicationModal);
    dial->show();
    AlertDlg::informationNonModal(nullptr, "Error", "Top");

    CModualDlgsManager::closeAllModualDlgs(false);

    QVERIFY(!dial->isVisible());
    QVERIFY(!join->isVisible());
    QCOMPARE(joinRejected.count(), 1);
    QVERIFY(bottom->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), bottom.data());
}

void TestAlertDlg::closeAllGivesUpOnDialogThatStays()
{
    QPointer<QDialog> bottom = showModal(new kd_app::views::CJoinConfDlg(QString(), QString(), false, nullptr));
    auto *stubborn = new CStubbornDlg;
    showModal(stubborn);

    CModualDlgsManager::closeAllModualDlgs(false);

    QCOMPARE(stubborn->rejects, 1);
    QVERIFY(stubborn->isVisible());
    QVERIFY(bottom->isVisible());
}

// A file dialog the avatar or profile dialog opened lies over it when a call
// comes in: it goes too, or ours would stay open under the call.
void TestAlertDlg::closeAllEndsADialogOverOurs()
{
    QPointer<QDialog> bottom = showModal(new QDialog);
    QPointer<QDialog> join = showModal(new kd_app::views::CJoinConfDlg(QString(), QString(), false, nullptr));
    auto *files = new QFileDialog(join, "Open", QDir::tempPath());
    files->setOption(QFileDialog::DontUseNativeDialog);
    QPointer<QDialog> picker = showModal(files);
    QSignalSpy pickerRejected(picker.data(), &QDialog::rejected);
    QCOMPARE(QApplication::activeModalWidget(), picker.data());

    // A message box asks only for message boxes to go.
    CModualDlgsManager::closeAllModualDlgs(true);
    QVERIFY(picker->isVisible());

    CModualDlgsManager::closeAllModualDlgs(false);

    QCOMPARE(pickerRejected.count(), 1);
    QVERIFY(!picker->isVisible());
    QVERIFY(!join->isVisible());
    // Nothing of ours lies under the last one: it is not ours to end.
    QVERIFY(bottom->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), bottom.data());
}

void TestAlertDlg::parentDestroyedWhileAsking()
{
    auto *window = new QWidget;
    window->show();
    QTimer::singleShot(0, window, [window] { window->deleteLater(); });
    const int answer =
        AlertDlg::question(window, "Title", "Text", QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    QCOMPARE(answer, int(QMessageBox::Cancel));
}

QTEST_MAIN(TestAlertDlg)
#include "tst_alertdlg.moc"
