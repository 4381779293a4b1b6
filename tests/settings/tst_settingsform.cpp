#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "helpers/cuserconfigutils.h"
#include "models/clinguist.h"
#include "settingsfixture.h"

using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CLinguist;
using kd_app::views::CSettingsForm;
using settingstest::child;
using settingstest::operations;

// The frame of the settings: entry list and pages, the SIP page's question
// before leaving unsaved edits, what showing and hiding start and stop, the
// display scale and the language.
class TestSettingsForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void quickRowChangesFollowTheList();
    void enteringThePageAgainOnlyRefreshes();
    void leavingUnsavedSipEdits_data();
    void leavingUnsavedSipEdits();
    void showAndHideStartAndStopTheMeter();
    void sipEntryVisibility_data();
    void sipEntryVisibility();
    void imagesFollowTheScale_data();
    void imagesFollowTheScale();
    void languageSwitch();

private:
    QListWidget *entries() const { return child<QListWidget>(m_form.get(), "lvSettingsEntrances"); }
    QTabWidget *pages() const { return child<QTabWidget>(m_form.get(), "twgtSettingsPages"); }
    QTimer *meterTimer() const { return m_form->findChild<QTimer *>(); }
    // Selects an entry as a click does and lets the page follow.
    void choose(int row);

    QTemporaryDir m_dir;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<CSettingsForm> m_form;
};

void TestSettingsForm::initTestCase()
{
    m_control = settingstest::startClient(m_dir);
    QVERIFY(m_control);
}

void TestSettingsForm::init()
{
    m_form = settingstest::shownForm(false);
    QVERIFY(m_form);
    m_control->clearOperations();
}

void TestSettingsForm::cleanup()
{
    m_form.reset();
}

void TestSettingsForm::choose(int row)
{
    entries()->setCurrentRow(row);
    QTRY_COMPARE(pages()->currentIndex(), row);
}

void TestSettingsForm::quickRowChangesFollowTheList()
{
    QCOMPARE(pages()->currentIndex(), int(CSettingsForm::GeneralPage));
    for (int row : {2, 3, 4, 5}) {
        entries()->setCurrentRow(row);
    }
    // The page follows once the event loop turns, through every row in turn.
    QCOMPARE(pages()->currentIndex(), int(CSettingsForm::GeneralPage));
    QTRY_COMPARE(pages()->currentIndex(), int(CSettingsForm::AboutPage));
    QCOMPARE(operations(m_control, "enableMicMeter"),
             (QStringList{"enableMicMeter(1)", "enableMicMeter(1)", "enableMicMeter(0)"}));
    QCOMPARE(operations(m_control, "enablePreview"), (QStringList{"enablePreview(1)", "enablePreview(0)"}));
    QCOMPARE(operations(m_control, "getDiagString").size(), 1);
    QVERIFY(!meterTimer()->isActive());
}

void TestSettingsForm::enteringThePageAgainOnlyRefreshes()
{
    choose(CSettingsForm::VideoPage);
    m_control->clearOperations();
    m_form->slt_settingspageChanged(CSettingsForm::VideoPage);
    QCOMPARE(operations(m_control, "getDevices"), QStringList{"getDevices(2)"});
    QCOMPARE(operations(m_control, "setLocalVideoWindow").size(), 1);
    QVERIFY(operations(m_control, "enablePreview").isEmpty());

    choose(CSettingsForm::AudioPage);
    QVERIFY(meterTimer()->isActive());
    m_control->clearOperations();
    m_form->slt_settingspageChanged(CSettingsForm::AudioPage);
    QCOMPARE(operations(m_control, "getDevices"), (QStringList{"getDevices(0)", "getDevices(1)"}));
    QVERIFY(meterTimer()->isActive());
}

void TestSettingsForm::leavingUnsavedSipEdits_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("answer");
    QTest::newRow("cancel leaving for the audio page") << int(CSettingsForm::AudioPage) << int(QMessageBox::Cancel);
    QTest::newRow("cancel leaving for the video page") << int(CSettingsForm::VideoPage) << int(QMessageBox::Cancel);
    QTest::newRow("ok leaving for the audio page") << int(CSettingsForm::AudioPage) << int(QMessageBox::Ok);
    QTest::newRow("ok leaving for the video page") << int(CSettingsForm::VideoPage) << int(QMessageBox::Ok);
}

void TestSettingsForm::leavingUnsavedSipEdits()
{
    QFETCH(int, target);
    QFETCH(int, answer);
    CUserConfigUtils::getInstance()->setScreenName(QStringLiteral("Stored"));
    m_form->setSipPageVisible(true);
    choose(CSettingsForm::SipPage);
    auto *screenName = child<QLineEdit>(m_form.get(), "lineedit_screenname");
    QCOMPARE(screenName->text(), QStringLiteral("Stored"));
    screenName->setText(QStringLiteral("Edited"));
    QVERIFY(m_form->isSipSettingsChanged());
    m_control->clearOperations();

    CAlertAnswerer answerer{QMessageBox::StandardButton(answer)};
    entries()->setCurrentRow(target);
    QTRY_COMPARE(answerer.answered(), 1);
    QCOMPARE(answerer.texts(), QStringList{"Changes are not saved, Are you sure you want to leave?"});
    QCoreApplication::processEvents();
    if (answer == QMessageBox::Cancel) {
        QTRY_COMPARE(pages()->currentIndex(), int(CSettingsForm::SipPage));
        QCOMPARE(entries()->currentRow(), int(CSettingsForm::SipPage));
        QCOMPARE(screenName->text(), QStringLiteral("Edited"));
        // Nothing was started for the page the user did not go to.
        QVERIFY(operations(m_control, "enableMicMeter").isEmpty());
        QVERIFY(operations(m_control, "enablePreview").isEmpty());
        QVERIFY(!meterTimer()->isActive());
        // Leaving again asks again.
        CAlertAnswerer again(QMessageBox::Cancel);
        entries()->setCurrentRow(CSettingsForm::GeneralPage);
        QTRY_COMPARE(again.answered(), 1);
        return;
    }
    QTRY_COMPARE(pages()->currentIndex(), target);
    QCOMPARE(screenName->text(), QStringLiteral("Stored"));
    QVERIFY(!m_form->isSipSettingsChanged());
    const QString started = target == CSettingsForm::AudioPage ? "enableMicMeter" : "enablePreview";
    QCOMPARE(operations(m_control, started).value(0), started + "(1)");
}

void TestSettingsForm::showAndHideStartAndStopTheMeter()
{
    choose(CSettingsForm::AudioPage);
    m_form->hide();
    QVERIFY(!meterTimer()->isActive());
    m_control->clearOperations();

    m_form->show();
    QVERIFY(meterTimer()->isActive());
    QCOMPARE(meterTimer()->interval(), 200);
    QVERIFY(operations(m_control, "enableMicMeter").contains("enableMicMeter(1)"));

    m_control->clearOperations();
    m_form->hide();
    QVERIFY(!meterTimer()->isActive());
    QCOMPARE(operations(m_control, "enableMicMeter"), QStringList{"enableMicMeter(0)"});
    QCOMPARE(operations(m_control, "enablePreview"), QStringList{"enablePreview(0)"});

    // Shown again on the video page: the preview, not the meter.
    m_form->show();
    choose(CSettingsForm::VideoPage);
    m_form->hide();
    m_control->clearOperations();
    m_form->show();
    QCOMPARE(operations(m_control, "enablePreview"), QStringList{"enablePreview(1)"});
    QVERIFY(!meterTimer()->isActive());
}

void TestSettingsForm::sipEntryVisibility_data()
{
    QTest::addColumn<bool>("wasVisible");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("expectedRow");
    QTest::addColumn<bool>("reloaded");

    QTest::newRow("hidden while current: to General") << true << 0 << false << 1 << false;
    QTest::newRow("shown while on General: to SIP") << false << 1 << true << 0 << true;
    QTest::newRow("shown on another page: stays") << false << 3 << true << 3 << true;
    QTest::newRow("hidden on another page: stays") << true << 4 << false << 4 << false;
}

void TestSettingsForm::sipEntryVisibility()
{
    QFETCH(bool, wasVisible);
    QFETCH(int, row);
    QFETCH(bool, visible);
    QFETCH(int, expectedRow);
    QFETCH(bool, reloaded);

    CAlertAnswerer answerer(QMessageBox::Ok);
    m_form->setSipPageVisible(wasVisible);
    choose(row);
    CUserConfigUtils::getInstance()->setDomain(QStringLiteral("before.test"));
    m_form->setSipPageVisible(true);
    m_form->setSipPageVisible(wasVisible);
    choose(row);
    CUserConfigUtils::getInstance()->setDomain(QStringLiteral("after.test"));

    m_form->setSipPageVisible(visible);
    QTRY_COMPARE(pages()->currentIndex(), expectedRow);
    QCOMPARE(entries()->currentRow(), expectedRow);
    QCOMPARE(entries()->item(0)->isHidden(), !visible);
    QCOMPARE(child<QLineEdit>(m_form.get(), "lineedit_SIPdomain")->text(),
             reloaded ? QStringLiteral("after.test") : QStringLiteral("before.test"));
    // With the entry hidden there is never anything unsaved.
    if (!visible) {
        child<QLineEdit>(m_form.get(), "lineedit_SIPdomain")->setText(QStringLiteral("edited"));
        QVERIFY(!m_form->isSipSettingsChanged());
    }
}

void TestSettingsForm::imagesFollowTheScale_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("iconSide");
    QTest::addColumn<bool>("imagesFound");
    QTest::addColumn<QString>("reportImage");

    QTest::newRow("1") << 1.0 << 20 << true << ":/resources/images/image_error.png";
    QTest::newRow("1.5") << 1.5 << 30 << true << ":/resources/images/image_error-1.5x.png";
    QTest::newRow("2") << 2.0 << 40 << true << ":/resources/images/image_error-2x.png";
    QTest::newRow("1.25: no such images") << 1.25 << 25 << false << ":/resources/images/image_error%1.png";
}

void TestSettingsForm::imagesFollowTheScale()
{
    QFETCH(double, scale);
    QFETCH(int, iconSide);
    QFETCH(bool, imagesFound);
    QFETCH(QString, reportImage);

    m_form->updateDpi(scale);
    QCOMPARE(entries()->iconSize(), QSize(iconSide, iconSide));
    for (int row = 0; row < entries()->count(); ++row) {
        const QList<QSize> sizes = entries()->item(row)->icon().availableSizes();
        QCOMPARE(!sizes.isEmpty(), imagesFound);
        if (imagesFound) {
            QCOMPARE(sizes.first(), QSize(iconSide, iconSide));
        }
    }
    const QString style = child<QLabel>(m_form.get(), "label_iconReport")->styleSheet();
    QCOMPARE(style, "border-image: url(" + reportImage + ")");
    if (imagesFound) {
        QVERIFY(QFile::exists(reportImage));
        QVERIFY(QFile::exists(QString(reportImage).replace("image_error", "image_ok")));
    }
}

void TestSettingsForm::languageSwitch()
{
    CLinguist *linguist = CLinguist::getInstance();
    linguist->changeLanguage(CLinguist::EN_US);
    auto *title = child<QLabel>(m_form.get(), "label_titleReport");
    auto *advice = child<QLabel>(m_form.get(), "m_pLblAdvice");
    title->setText(QStringLiteral("Network status is abnormal"));
    advice->setText(QStringLiteral("old advice"));
    const QString general = entries()->item(1)->text();

    linguist->changeLanguage(CLinguist::ZH_CN);
    QCOMPARE(linguist->m_currentLanguage, CLinguist::ZH_CN);
    QCOMPARE(entries()->item(0)->text(), QStringLiteral("SIP"));
    QVERIFY(entries()->item(1)->text() != general);
    QCOMPARE(entries()->item(1)->text(), CSettingsForm::tr("General"));
    QCOMPARE(title->text(), CSettingsForm::tr("Network status is normal"));
    QVERIFY(advice->text().isEmpty());
    QVERIFY(child<QLabel>(m_form.get(), "m_pLabVersion")->text().contains("2.8.0.173"));
    auto *languages = child<QComboBox>(m_form.get(), "m_pCmbBoxLanguage");
    QCOMPARE(languages->itemText(1), CSettingsForm::tr("Simplified-Chinese_Language"));

    linguist->changeLanguage(CLinguist::EN_US);
    QCOMPARE(entries()->item(1)->text(), general);
}

QTEST_MAIN(TestSettingsForm)
#include "tst_settingsform.moc"
