#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "helpers/cuserconfigutils.h"
#include "models/clinguist.h"

using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CLinguist;

class TestLinguist : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void loadConfigLanguage_data();
    void loadConfigLanguage();
    void sameLanguageSendsNothing();
    void undefinedLoadsNothing();

private:
    static QString productName() { return QCoreApplication::translate("QObject", "PRODUCT_NAME"); }
    QTemporaryDir m_dir;
};

void TestLinguist::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("appdata", QFile::encodeName(m_dir.path()));
    CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()).constData());
    QVERIFY(CUserConfigUtils::getInstance());
}

void TestLinguist::cleanupTestCase()
{
    CUserConfigUtils::releaseInstance();
}

void TestLinguist::loadConfigLanguage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("product");
    // Each row switches away from the language of the row before it.
    const QString chinese = QStringLiteral("Parvela 视频会议");
    const QString english = QStringLiteral("Parvela");
    QTest::newRow("nothing stored, Chinese system")
        << QString() << QLocale(QLocale::Chinese, QLocale::China) << int(CLinguist::ZH_CN) << chinese;
    QTest::newRow("nothing stored, German system")
        << QString() << QLocale(QLocale::German, QLocale::Germany) << int(CLinguist::EN_US) << english;
    QTest::newRow("unknown text, traditional Chinese system")
        << QStringLiteral("zh_cn") << QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan)
        << int(CLinguist::ZH_CN) << chinese;
    QTest::newRow("stored English") << QStringLiteral("EN_US") << QLocale(QLocale::Chinese, QLocale::China)
                                    << int(CLinguist::EN_US) << english;
    QTest::newRow("stored Chinese wins over system")
        << QStringLiteral("ZH_CN") << QLocale(QLocale::English, QLocale::UnitedStates) << int(CLinguist::ZH_CN)
        << chinese;
}

void TestLinguist::loadConfigLanguage()
{
    QFETCH(QString, stored);
    QFETCH(QLocale, locale);
    QFETCH(int, expected);
    QFETCH(QString, product);

    CUserConfigUtils::getInstance()->setLanguage(stored);
    QLocale::setDefault(locale);
    CLinguist::getInstance()->loadConfigLanguage();

    QCOMPARE(int(CLinguist::getInstance()->m_currentLanguage), expected);
    const char *key = QMetaEnum::fromType<CLinguist::Language>().valueToKey(expected);
    QCOMPARE(CUserConfigUtils::getInstance()->getLanguage(), QString::fromLatin1(key));
    QCOMPARE(productName(), product);
}

void TestLinguist::sameLanguageSendsNothing()
{
    CLinguist *linguist = CLinguist::getInstance();
    linguist->changeLanguage(CLinguist::EN_US);
    QSignalSpy changed(linguist, &CLinguist::sigLanguageChanged);
    linguist->changeLanguage(CLinguist::ZH_CN);
    QCOMPARE(changed.count(), 1);
    linguist->changeLanguage(CLinguist::ZH_CN);
    QCOMPARE(changed.count(), 1);
    linguist->changeLanguage(CLinguist::EN_US);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(productName(), QStringLiteral("Parvela"));
}

void TestLinguist::undefinedLoadsNothing()
{
    CLinguist *linguist = CLinguist::getInstance();
    linguist->changeLanguage(CLinguist::ZH_CN);
    CUserConfigUtils::getInstance()->setLanguage(QStringLiteral("UNDEFINED"));
    QSignalSpy changed(linguist, &CLinguist::sigLanguageChanged);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("CLinguist::changeLanguage, UNDEFINED$")));
    linguist->loadConfigLanguage();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(linguist->m_currentLanguage, CLinguist::ZH_CN);
    QCOMPARE(productName(), QStringLiteral("Parvela 视频会议"));
}

QTEST_GUILESS_MAIN(TestLinguist)
#include "tst_linguist.moc"
