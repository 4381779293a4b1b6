#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "profilefixture.h"
#include "views/profile/cmypassworddlg.h"

using namespace fixture;
using kd_app::views::CMyPasswordDlg;

namespace {

const char kPolicyText[] = "The password length is 8-32 characters\n"
                           "The following special characters can be input ~!@#$%^&*()_+-=\n"
                           "Please input at least 2 combinations by upper case letters, numbers and special characters";
const char kNewFormat[] = "Wrong new password format.(4-16 characters and no spaces)";
const char kFailed[] = "Change new password failed.";

} // namespace

// The password dialog on the engine's account model.
class TestMyPasswordDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void refusals_data();
    void refusals();
    void changeThenSignInWithTheNewPassword();
    void cancelAndCloseReject_data();
    void cancelAndCloseReject();

private:
    void type(CMyPasswordDlg *dialog, const QString &oldPassword, const QString &newPassword, const QString &confirm);

    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestMyPasswordDlg::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    profile::addModel(m_control);
    m_control->addAccount(account("bo", "Bo2026!x", "Bo", 8));
}

void TestMyPasswordDlg::cleanup()
{
    resetClient(m_control);
}

void TestMyPasswordDlg::type(CMyPasswordDlg *dialog, const QString &oldPassword, const QString &newPassword,
                             const QString &confirm)
{
    dialog->findChild<QLineEdit *>("m_LEtOldPassword")->setText(oldPassword);
    dialog->findChild<QLineEdit *>("m_LEtNewPassword")->setText(newPassword);
    dialog->findChild<QLineEdit *>("m_LEtConfirmPassword")->setText(confirm);
}

void TestMyPasswordDlg::refusals_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("engineFault");
    QTest::addColumn<QString>("message");

    const QString ucm = profile::kUcmServer;
    const QString ccm = profile::kCcmServer;
    QTest::newRow("all empty") << ucm << ""
                               << ""
                               << ""
                               << ""
                               << "Old password is wrong!";
    QTest::newRow("old wrong") << ucm << "Ann2026!y"
                               << "Fresh2026x"
                               << "Fresh2026x"
                               << ""
                               << "Old password is wrong!";
    QTest::newRow("same as old, before any format") << ccm << " Ann2026!x"
                                                    << "Ann2026!x "
                                                    << "x"
                                                    << ""
                                                    << "The new and old password is the same.";
    QTest::newRow("confirm differs") << ucm << "Ann2026!x"
                                     << "Fresh2026x"
                                     << "Fresh2026y"
                                     << ""
                                     << "Confirm Password is not consistent with New Password.";
    QTest::newRow("local: 3 characters") << ucm << "Ann2026!x"
                                         << "abc"
                                         << "abc"
                                         << "" << kNewFormat;
    QTest::newRow("local: 17 characters") << ucm << "Ann2026!x"
                                          << "abcdefghijklmnopq"
                                          << "abcdefghijklmnopq"
                                          << "" << kNewFormat;
    QTest::newRow("local: a space inside") << ucm << "Ann2026!x"
                                           << "Fresh 2026"
                                           << "Fresh 2026"
                                           << "" << kNewFormat;
    // 4 characters pass the local rule; the engine applies the server's own.
    QTest::newRow("local passes, engine refuses") << ucm << "Ann2026!x"
                                                  << "abcd"
                                                  << "abcd"
                                                  << "" << kFailed;
    QTest::newRow("policy: too short") << ccm << "Ann2026!x"
                                       << "Ab1"
                                       << "Ab1"
                                       << "" << kPolicyText;
    // What the local rule would take, the policy refuses: no local message.
    QTest::newRow("policy: one kind of character") << ccm << "Ann2026!x"
                                                   << "abcdefgh"
                                                   << "abcdefgh"
                                                   << "" << kPolicyText;
    QTest::newRow("policy: a space") << ccm << "Ann2026!x"
                                     << "Fresh 2026"
                                     << "Fresh 2026"
                                     << "" << kPolicyText;
    QTest::newRow("engine refuses the change") << ccm << "Ann2026!x"
                                               << "Fresh2026x"
                                               << "Fresh2026x"
                                               << "changePassword" << kFailed;
}

void TestMyPasswordDlg::refusals()
{
    QFETCH(QString, server);
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirm);
    QFETCH(QString, engineFault);
    QFETCH(QString, message);
    QVERIFY(profile::signIn(m_control, server.toLatin1().constData(), "ann", "Ann2026!x"));
    const auto dialog = profile::shownDialog<CMyPasswordDlg>();
    QVERIFY(dialog);
    if (!engineFault.isEmpty()) {
        m_control->failNext(engineFault.toStdString(), 4);
    }
    type(dialog.get(), oldPassword, newPassword, confirm);
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    CAlertAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(dialog->findChild<QPushButton *>("m_pBtnOK"), Qt::LeftButton);
    QTRY_COMPARE(answerer.answered(), 1);
    QCOMPARE(answerer.texts(), QStringList{message});
    QCOMPARE(answerer.titles(), QStringList{"Prompt"});
    QVERIFY(finished.isEmpty());
    QVERIFY(dialog->isVisible());
    // Nothing typed is cleared.
    QCOMPARE(dialog->findChild<QLineEdit *>("m_LEtNewPassword")->text(), newPassword);
    QCOMPARE(CLoginManager::getInstance().getPassword(), QStringLiteral("Ann2026!x"));
}

void TestMyPasswordDlg::changeThenSignInWithTheNewPassword()
{
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "bo", "Bo2026!x"));
    const auto dialog = profile::shownDialog<CMyPasswordDlg>();
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLineEdit *>("m_LEtNewPassword")->echoMode(), QLineEdit::Password);
    m_control->clearOperations();
    type(dialog.get(), "Bo2026!x", "  Fresh2026x ", "Fresh2026x");
    QSignalSpy accepted(dialog.get(), &QDialog::accepted);
    CAlertAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(dialog->findChild<QPushButton *>("m_pBtnOK"), Qt::LeftButton);
    QCOMPARE(accepted.size(), 1);
    QCOMPARE(answerer.answered(), 0);
    QCOMPARE(operationsNamed(m_control, "changePassword").size(), 1);
    QCOMPARE(CLoginManager::getInstance().getPassword(), QStringLiteral("Fresh2026x"));

    CLoginManager::getInstance().logout();
    settle(m_control);
    QVERIFY(!profile::signIn(m_control, profile::kUcmServer, "bo", "Bo2026!x"));
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "bo", "Fresh2026x"));
}

void TestMyPasswordDlg::cancelAndCloseReject_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("cancel") << "m_pBtnCancel";
    QTest::newRow("close") << "m_pBtnClose";
}

void TestMyPasswordDlg::cancelAndCloseReject()
{
    QFETCH(QString, button);
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "ann", "Ann2026!x"));
    const auto dialog = profile::shownDialog<CMyPasswordDlg>();
    QVERIFY(dialog);
    QSignalSpy rejected(dialog.get(), &QDialog::rejected);
    QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(rejected.size(), 1);
}

QTEST_MAIN(TestMyPasswordDlg)
#include "tst_mypassworddlg.moc"
