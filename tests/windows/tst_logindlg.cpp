// Clicks reach a window as the window system's do: a window that a modal
// one blocks does not get them.
#define QTEST_QPA_MOUSE_HANDLING
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

#include "statewait.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"
#include "models/curljoinconfargsparser.h"
#include "screendpi.h"
#include "views/base/cwaitingdlg.h"
#include "views/login/cloginchangepasswordform.h"
#include "views/login/clogindlg.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/upgrade/cupdatemessagewidget.h"
#include "windowstestenv.h"

using kd_app::models::CKDSdkManager;
using kd_app::models::CLoginManager;
using kd_app::models::CUrlJoinConfArgsParser;
using kd_app::views::CContainerSettingsFormWidget;
using kd_app::views::CLoginDlg;
using kd_app::views::CUpdateMessageWidget;
using kd_app::views::CWaitingDlg;
using namespace kd_app::enums;

namespace {

// The settings window the login window's button opened.
CContainerSettingsFormWidget *shownSettings()
{
    CContainerSettingsFormWidget *settings = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *candidate = qobject_cast<CContainerSettingsFormWidget *>(widget);
            candidate && candidate->isVisible()) {
            settings = candidate;
        }
    }
    return settings;
}

} // namespace

// The login window around its pages: which page shows, what its delayed
// start-up does again after a new show, its settings window and its scale.
class TestLoginDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageChoice_data();
    void pageChoice();
    void passwordPageAlwaysOpensEmpty();
    void showAgainOnlyRunsThePendingLink();
    void settingsWindowIsModalAndOwnsItself();
    void upgradePromptAnswersBesideSettings();
    void logoFollowsTheScale_data();
    void logoFollowsTheScale();

private:
    CLoginDlg *dlg() const { return CLoginDlg::getInstance(); }
    QStackedWidget *stack() const { return dlg()->findChild<QStackedWidget *>("m_pStackedWgtContent"); }

    CWindowsTestEnv m_env;
};

void TestLoginDlg::initTestCase()
{
    QVERIFY(m_env.start());
    QVERIFY(!CWaitingDlg::getInstance()->isVisible());
}

void TestLoginDlg::pageChoice_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("page");

    QTest::newRow("initial") << 2 << 0 << 0;
    QTest::newRow("login") << 2 << 1 << 0;
    QTest::newRow("guest join") << 0 << 2 << 1;
    QTest::newRow("password change") << 0 << 3 << 2;
    QTest::newRow("unknown keeps the guest page") << 2 << 7 << 1;
    QTest::newRow("unknown keeps the login page") << 0 << -1 << 0;
}

void TestLoginDlg::pageChoice()
{
    QFETCH(int, from);
    QFETCH(int, progress);
    QFETCH(int, page);

    dlg()->onLoginProgressChanged(LoginProgress(from));
    dlg()->onLoginProgressChanged(LoginProgress(progress));
    QCOMPARE(stack()->currentIndex(), page);
}

void TestLoginDlg::passwordPageAlwaysOpensEmpty()
{
    QWidget *form = dlg()->changePasswordForm();
    dlg()->onLoginProgressChanged(ChangePassword);
    form->findChild<QLineEdit *>("m_pEditPassword")->setText("typed");
    form->findChild<QLineEdit *>("m_pEditConfirmPassword")->setText("typed");
    dlg()->onLoginProgressChanged(ChangePassword);
    QVERIFY(form->findChild<QLineEdit *>("m_pEditPassword")->text().isEmpty());
    QVERIFY(form->findChild<QLineEdit *>("m_pEditConfirmPassword")->text().isEmpty());
}

void TestLoginDlg::showAgainOnlyRunsThePendingLink()
{
    CKDSdkManager *engine = CKDSdkManager::getInstance();
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    QVERIFY(parser->parse("--url=brivana://joinmeeting/99999/0/pw/127.0.0.1:1"));
    QSignalSpy statuses(&CLoginManager::getInstance(), &CLoginManager::loginStatusChanged);

    dlg()->hide();
    dlg()->show();
    // No saved sign-in: the link is joined as a guest, and then dropped.
    QTRY_VERIFY_WITH_TIMEOUT(!statuses.isEmpty(), kdtest::kStateWaitMs);
    QCOMPARE(statuses.first().first().value<LoginStatus>(), AnonymousLoggingIn);
    QCOMPARE(parser->m_joinConfProtocol, 0);
    QCOMPARE(CKDSdkManager::getInstance(), engine);
    QTRY_VERIFY_WITH_TIMEOUT(CLoginManager::getInstance().getLoginStatus() != AnonymousLoggingIn, kdtest::kStateWaitMs);
    QTRY_VERIFY(!CWaitingDlg::getInstance()->isVisible());
}

void TestLoginDlg::settingsWindowIsModalAndOwnsItself()
{
    QPushButton *button = dlg()->findChild<QPushButton *>("m_pBtnSetting");
    // Each opening builds a new window, which is gone once closed.
    for (int round = 0; round < 2; ++round) {
        button->click();
        QPointer<CContainerSettingsFormWidget> settings = shownSettings();
        QVERIFY(settings);
        QVERIFY(settings->isModal());
        QSignalSpy closed(settings.data(), &CContainerSettingsFormWidget::closeWindow);
        settings->findChild<QPushButton *>("m_pBtnClose")->click();
        QCOMPARE(closed.size(), 1);
        QTRY_VERIFY(!settings);
    }
}

void TestLoginDlg::upgradePromptAnswersBesideSettings()
{
    dlg()->findChild<QPushButton *>("m_pBtnSetting")->click();
    QPointer<CContainerSettingsFormWidget> settings = shownSettings();
    QVERIFY(settings);
    QVERIFY(QTest::qWaitForWindowExposed(settings));

    // The prompt that Settings' "Check for Updates" shows.
    auto *prompt = new CUpdateMessageWidget(nullptr);
    prompt->showUpdateMessage(QStringLiteral("9.9.9"));
    QVERIFY(QTest::qWaitForWindowExposed(prompt));
    QSignalSpy cancelled(prompt, &CUpdateMessageWidget::signal_Cancel);
    QTest::mouseClick(prompt->findChild<QPushButton *>("m_pBtnCancel"), Qt::LeftButton);
    QCOMPARE(cancelled.size(), 1);
    delete prompt;

    // The login window itself waits for Settings to close.
    QSignalSpy opened(dlg()->findChild<QPushButton *>("m_pBtnSetting"), &QPushButton::clicked);
    QTest::mouseClick(dlg()->findChild<QPushButton *>("m_pBtnSetting"), Qt::LeftButton);
    QCOMPARE(opened.size(), 0);
    settings->findChild<QPushButton *>("m_pBtnClose")->click();
    QTRY_VERIFY(!settings);
}

void TestLoginDlg::logoFollowsTheScale_data()
{
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<QSize>("logo");
    QTest::addColumn<QSize>("window");

    QTest::newRow("1.5") << qreal(144) << QSize(408, 66) << QSize(480, 853);
    QTest::newRow("2") << qreal(192) << QSize(544, 88) << QSize(640, 1138);
}

void TestLoginDlg::logoFollowsTheScale()
{
    QFETCH(qreal, dpi);
    QFETCH(QSize, logo);
    QFETCH(QSize, window);

    const QSize before = dlg()->size();
    {
        ScopedScreenDpi scale(dpi);
        auto *button = dlg()->findChild<QPushButton *>("m_pBtnLogo");
        QTRY_COMPARE(button->size(), logo);
        QVERIFY(!button->icon().pixmap(logo).isNull());
        QCOMPARE(dlg()->size(), window);
    }
    QTRY_COMPARE(dlg()->size(), before);
}

QTEST_MAIN(TestLoginDlg)
#include "tst_logindlg.moc"
