#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "clientfixture.h"
#include "helpers/cappconfigutils.h"
#include "views/home/cjoinconfcombo.h"
#include "views/home/cjoinconfdlg.h"
#include "views/home/cjoinconfwidget.h"

using namespace fixture;
using kd_app::views::CJoinConfDlg;
using kd_app::views::CJoinConfWidget;

// An application folder whose app-config.ini holds DisableAudioOnlyCall:
// both join forms offer one "Join" that makes a video call, and no camera
// choice.
class TestJoinConfVideoOnly : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneJoinButtonMakesVideoCalls();

private:
    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestJoinConfVideoOnly::initTestCase()
{
    QVERIFY(m_appData.isValid());
    QVERIFY2(kd_app::helpers::CAppConfigUtils::instance().isDisableAudioOnlyCall(),
             "the test's application folder must hold its own app-config.ini");
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    provideRingtone();
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "80001";
    meeting.name = "Video only";
    m_control->addMeeting(meeting);
}

void TestJoinConfVideoOnly::oneJoinButtonMakesVideoCalls()
{
    CJoinConfDlg dialog(QString(), QString(), true, nullptr);
    dialog.show();
    CJoinConfWidget page(nullptr);
    page.show();
    for (QWidget *form : {static_cast<QWidget *>(&dialog), static_cast<QWidget *>(&page)}) {
        resetClient(m_control);
        auto *join = form->findChild<QPushButton *>("m_pBtnVideoJoin");
        QVERIFY(join->isVisible());
        QCOMPARE(join->text(), QString("Join"));
        QVERIFY(!form->findChild<QPushButton *>("m_pBtnAudioJoin")->isVisible());
        QVERIFY(!form->findChild<QCheckBox *>("m_pChkBoxDisableCamera")->isVisible());

        QTest::keyClicks(form->findChild<CJoinConfCombo *>()->innerLineEdit(), "80001");
        QTest::mouseClick(join, Qt::LeftButton);
        settle(m_control);
        QCOMPARE(operationsNamed(m_control, "dialOut"), QStringList{"dialOut(80001,1)"});
    }
    resetClient(m_control);
}

QTEST_MAIN(TestJoinConfVideoOnly)
#include "tst_joinconfvideoonly.moc"
