#include <functional>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "helpers/cuserconfigutils.h"

using kd_app::helpers::CUserConfigUtils;
namespace enums = kd_app::enums;

using Getter = std::function<QVariant(CUserConfigUtils &)>;

namespace {

const QMap<QString, Getter> &getters()
{
    static const QMap<QString, Getter> table = {
        {"isDisableCameraOnJoinConf", [](CUserConfigUtils &c) { return c.isDisableCameraOnJoinConf(); }},
        {"isDisableMicOnJoinConf", [](CUserConfigUtils &c) { return c.isDisableMicOnJoinConf(); }},
        {"isDisablePrompt", [](CUserConfigUtils &c) { return c.isDisablePrompt(); }},
        {"isUseHttps", [](CUserConfigUtils &c) { return c.isUseHttps(); }},
        {"getPort", [](CUserConfigUtils &c) { return c.getPort(); }},
        {"getIp", [](CUserConfigUtils &c) { return c.getIp(); }},
        {"getUser", [](CUserConfigUtils &c) { return c.getUser(); }},
        {"getJoinConfDisplayName", [](CUserConfigUtils &c) { return c.getJoinConfDisplayName(); }},
        {"isSetBw2m", [](CUserConfigUtils &c) { return c.isSetBw2m(); }},
        {"getRememberMe", [](CUserConfigUtils &c) { return c.getRememberMe(); }},
        {"isAutoAnswer", [](CUserConfigUtils &c) { return c.isAutoAnswer(); }},
        {"isAutoCaptureWin", [](CUserConfigUtils &c) { return c.isAutoCaptureWin(); }},
        {"isOpenNewWinInContentStream", [](CUserConfigUtils &c) { return c.isOpenNewWinInContentStream(); }},
        {"getLanguage", [](CUserConfigUtils &c) { return c.getLanguage(); }},
        {"getLoginStatus", [](CUserConfigUtils &c) { return int(c.getLoginStatus()); }},
        {"isFullScreenOnCallConnected", [](CUserConfigUtils &c) { return c.isFullScreenOnCallConnected(); }},
        {"getAINoiseReduction", [](CUserConfigUtils &c) { return c.getAINoiseReduction(); }},
        {"isEnableHardEncode", [](CUserConfigUtils &c) { return c.isEnableHardEncode(); }},
        {"isEnableHardDecode", [](CUserConfigUtils &c) { return c.isEnableHardDecode(); }},
        {"getIsConfRunning", [](CUserConfigUtils &c) { return c.getIsConfRunning(); }},
        {"getConfId", [](CUserConfigUtils &c) { return c.getConfId(); }},
        {"getConfIds", [](CUserConfigUtils &c) { return c.getConfIds(); }},
        {"getTransportProtocol", [](CUserConfigUtils &c) { return c.getTransportProtocol(); }},
        {"getScreenName", [](CUserConfigUtils &c) { return c.getScreenName(); }},
        {"isEnableRegistration", [](CUserConfigUtils &c) { return c.isEnableRegistration(); }},
        {"getAuthenticationPassword", [](CUserConfigUtils &c) { return c.getAuthenticationPassword(); }},
    };
    return table;
}

} // namespace

class TestUserConfigUtils : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void instanceUsesAppDataFolder();
    void parseAppNameAndPath_data();
    void parseAppNameAndPath();
    void defaults_data();
    void defaults();
    void storedValues_data();
    void storedValues();
    void newFileLayout();
    void utf8KeysRoundTrip();
    void textFromOutsideRoundTrips_data();
    void textFromOutsideRoundTrips();
    void deviceSnIsStable();
    void confIdsHistory();
    void loginStatusNames();
    void layoutUpgradeKeepsOtherKeys();
    void currentLayoutIsNotRewritten();
    void damagedFileIsKept();
    void migratesFromOldLocation();
    void migrationNeedsAppDataInVariable();

private:
    QString configPath() const { return m_dir->filePath(QStringLiteral("config.ini")); }
    static void writeFile(const QString &path, const QByteArray &content);
    static QByteArray readFile(const QString &path);

    QScopedPointer<QTemporaryDir> m_dir;
};

void TestUserConfigUtils::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    // Keeps the migration away from the real user folders.
    qputenv("appdata", QFile::encodeName(m_dir->path()));
}

void TestUserConfigUtils::writeFile(const QString &path, const QByteArray &content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(content.size()));
}

QByteArray TestUserConfigUtils::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Runs first: the per-user folder is worked out once per process.
void TestUserConfigUtils::instanceUsesAppDataFolder()
{
    const QByteArray appData = QFile::encodeName(m_dir->path()).replace('/', '\\');
    qputenv("appdata", appData);
    const QByteArray exe = QFile::encodeName(m_dir->filePath(QStringLiteral("bin/parvela.exe")));
    CUserConfigUtils::initInstance(exe.constData());
    QVERIFY(CUserConfigUtils::getInstance());
    QCOMPARE(CUserConfigUtils::getUserConfigPath(), m_dir->filePath(QStringLiteral("parvela")));
    QCOMPARE(CUserConfigUtils::getInstance()->getHeadPicPath(), m_dir->filePath(QStringLiteral("parvela/header.jpg")));

    const QString file = m_dir->filePath(QStringLiteral("parvela/Brivana/Config/config.ini"));
    QVERIFY(QFileInfo(file).isFile());
    QCOMPARE(QFileInfo(file).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    const QFileDevice::Permissions folderMode = QFileInfo(CUserConfigUtils::getUserConfigPath()).permissions();
    QCOMPARE(folderMode & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    CUserConfigUtils::getInstance()->setConfId(QStringLiteral("1001"));
    CUserConfigUtils::releaseInstance();
    QVERIFY(!CUserConfigUtils::getInstance());
    QVERIFY(readFile(file).contains("ConfId=1001\r\n"));
}

// The name comes from the command line; the application folder, which holds
// the trusted certificates and the sounds, is always the executable's own,
// never the folder the user happens to stand in.
void TestUserConfigUtils::parseAppNameAndPath_data()
{
    QTest::addColumn<QByteArray>("fullName");
    QTest::addColumn<QString>("name");
    QTest::newRow("full path") << QByteArray("/opt/parvela/bin/parvela") << "parvela";
    QTest::newRow("cut at first dot") << QByteArray("/opt/x/parvela.bin.old") << "parvela";
    QTest::newRow("no separator, started through PATH") << QByteArray("parvela.exe") << "parvela";
    QTest::newRow("leading dot kept") << QByteArray("./.hidden") << ".hidden";
}

void TestUserConfigUtils::parseAppNameAndPath()
{
    QFETCH(QByteArray, fullName);
    QFETCH(QString, name);
    // A working folder that offers its own trust store.
    const QString workingFolder = QDir::currentPath();
    const auto restore = qScopeGuard([&workingFolder] { QDir::setCurrent(workingFolder); });
    QVERIFY(QDir::setCurrent(m_dir->path()));
    writeFile(m_dir->filePath(QStringLiteral("rootca.pem")), "-----BEGIN CERTIFICATE-----\n");
    CUserConfigUtils::parseAppNameAndPath(fullName.constData());
    QCOMPARE(CUserConfigUtils::getAppName(), name);
    QCOMPARE(CUserConfigUtils::getAppPath(), QCoreApplication::applicationDirPath());
}

void TestUserConfigUtils::defaults_data()
{
    QTest::addColumn<QString>("getter");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("camera off by default") << "isDisableCameraOnJoinConf" << QVariant(false);
    QTest::newRow("mic on by default") << "isDisableMicOnJoinConf" << QVariant(true);
    QTest::newRow("prompt on by default") << "isDisablePrompt" << QVariant(true);
    QTest::newRow("https on by default") << "isUseHttps" << QVariant(true);
    QTest::newRow("port") << "getPort" << QVariant(0);
    QTest::newRow("ip") << "getIp" << QVariant(QString());
    QTest::newRow("display name") << "getJoinConfDisplayName" << QVariant(QString());
    QTest::newRow("bandwidth set") << "isSetBw2m" << QVariant(false);
    QTest::newRow("remember me") << "getRememberMe" << QVariant(true);
    QTest::newRow("auto answer") << "isAutoAnswer" << QVariant(false);
    QTest::newRow("language") << "getLanguage" << QVariant(QString());
    QTest::newRow("login status") << "getLoginStatus" << QVariant(0);
    QTest::newRow("noise reduction") << "getAINoiseReduction" << QVariant(true);
    QTest::newRow("hard encode") << "isEnableHardEncode" << QVariant(false);
    QTest::newRow("conf running") << "getIsConfRunning" << QVariant(false);
    QTest::newRow("conf ids") << "getConfIds" << QVariant(QStringList());
    QTest::newRow("transport") << "getTransportProtocol" << QVariant(QStringLiteral("TCP"));
    QTest::newRow("screen name") << "getScreenName" << QVariant(QString());
    QTest::newRow("registration") << "isEnableRegistration" << QVariant(false);
}

void TestUserConfigUtils::defaults()
{
    QFETCH(QString, getter);
    QFETCH(QVariant, expected);
    CUserConfigUtils config(configPath());
    QVERIFY(getters().contains(getter));
    QCOMPARE(getters().value(getter)(config), expected);
}

void TestUserConfigUtils::storedValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("getter");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("https FALSE") << QByteArray("useHttps=FALSE") << "isUseHttps" << QVariant(false);
    QTest::newRow("https 0 stays on") << QByteArray("useHttps=0") << "isUseHttps" << QVariant(true);
    QTest::newRow("https no stays on") << QByteArray("useHttps=no") << "isUseHttps" << QVariant(true);
    QTest::newRow("mic False") << QByteArray("DisableMicOnJoinConf=False") << "isDisableMicOnJoinConf"
                               << QVariant(false);
    QTest::newRow("camera TRUE") << QByteArray("DisableCameraOnJoinConf=TRUE") << "isDisableCameraOnJoinConf"
                                 << QVariant(true);
    QTest::newRow("auto answer 1 stays off") << QByteArray("AntoAnswer=1") << "isAutoAnswer" << QVariant(false);
    QTest::newRow("remember me 2 is off") << QByteArray("RememberMe=2") << "getRememberMe" << QVariant(false);
    QTest::newRow("remember me 0") << QByteArray("RememberMe=0") << "getRememberMe" << QVariant(false);
    QTest::newRow("port in hex") << QByteArray("port=0x1bb") << "getPort" << QVariant(443);
    QTest::newRow("login status small letters")
        << QByteArray("LoginStatus=loggedin") << "getLoginStatus" << QVariant(0);
    QTest::newRow("login status name") << QByteArray("LoginStatus=AnonymousLoggingIn") << "getLoginStatus"
                                       << QVariant(5);
    QTest::newRow("user UTF-8") << QByteArray("User=\xc3\xa9lise") << "getUser" << QVariant(QStringLiteral("élise"));
    QTest::newRow("transport of blanks reads TCP") << QByteArray("[SipSetting]\nTransportProtocol=   ")
                                                   << "getTransportProtocol" << QVariant(QStringLiteral("TCP"));
    QTest::newRow("transport keeps its leading blank") << QByteArray("[SipSetting]\nTransportProtocol= UDP")
                                                       << "getTransportProtocol" << QVariant(QStringLiteral(" UDP"));
    QTest::newRow("conf running 1") << QByteArray("[ConfRunningStatus]\nIsConfRunning=1") << "getIsConfRunning"
                                    << QVariant(true);
    QTest::newRow("conf running true is off")
        << QByteArray("[ConfRunningStatus]\nIsConfRunning=true") << "getIsConfRunning" << QVariant(false);
}

void TestUserConfigUtils::storedValues()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, getter);
    QFETCH(QVariant, expected);
    writeFile(configPath(), "[Config]\nConfigFileVersion=2\n" + line + "\n");
    CUserConfigUtils config(configPath());
    QCOMPARE(getters().value(getter)(config), expected);
}

void TestUserConfigUtils::newFileLayout()
{
    {
        CUserConfigUtils config(configPath());
    }
    QCOMPARE(readFile(configPath()), QByteArray("[Config]\r\nConfigFileVersion=2\r\nJoinConfDisplayName=\r\n"
                                                "ScreenPicPath=\r\n\r\n[SipSetting]\r\nScreenName=\r\n\r\n"));
    QCOMPARE(QFileInfo(configPath()).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
}

void TestUserConfigUtils::utf8KeysRoundTrip()
{
    const QString name = QStringLiteral("张三 Ärger = [x]");
    {
        CUserConfigUtils config(configPath());
        config.setJoinConfDisplayName(name);
        config.setScreenName(name);
        config.setScreenPicPath(QStringLiteral("/home/ü/图片"));
    }
    const QByteArray content = readFile(configPath());
    const QRegularExpression base64Line(QStringLiteral("^JoinConfDisplayNameUtf8=[A-Za-z0-9+/]+=*\r$"),
                                        QRegularExpression::MultilineOption);
    QVERIFY2(base64Line.match(QString::fromLatin1(content)).hasMatch(), content.constData());

    CUserConfigUtils config(configPath());
    QCOMPARE(config.getJoinConfDisplayName(), name);
    QCOMPARE(config.getScreenName(), name);
    QCOMPARE(config.getScreenPicPath(), QStringLiteral("/home/ü/图片"));
}

using Setter = void (CUserConfigUtils::*)(const QString &);
using TextGetter = QString (CUserConfigUtils::*)() const;
Q_DECLARE_METATYPE(Setter)
Q_DECLARE_METATYPE(TextGetter)

// Names from the server and typed addresses may hold line ends: they are
// stored and read back unchanged and never become settings of their own.
void TestUserConfigUtils::textFromOutsideRoundTrips_data()
{
    QTest::addColumn<Setter>("setter");
    QTest::addColumn<TextGetter>("getter");
    QTest::addColumn<QString>("value");
    const QString injection = QStringLiteral("eve\r\n[Config]\r\nIp=attacker.example\r\nuseHttps=false");
    const QString zero = QStringLiteral("eve") + QChar(0) + QStringLiteral("\n[Config]\nport=1");
    const QList<QPair<QString, QString>> values = {
        {"CR LF", injection}, {"LF", QStringLiteral("a\nIp=b")}, {"zero byte", zero}};
    for (const auto &value : values) {
        QTest::addRow("user name, %s", qPrintable(value.first))
            << Setter(&CUserConfigUtils::setUser) << TextGetter(&CUserConfigUtils::getUser) << value.second;
        QTest::addRow("server address, %s", qPrintable(value.first))
            << Setter(&CUserConfigUtils::setJoinConfServerAddress)
            << TextGetter(&CUserConfigUtils::getJoinConfServerAddress) << value.second;
        QTest::addRow("display name, %s", qPrintable(value.first))
            << Setter(&CUserConfigUtils::setJoinConfDisplayName)
            << TextGetter(&CUserConfigUtils::getJoinConfDisplayName) << value.second;
        QTest::addRow("SIP domain, %s", qPrintable(value.first))
            << Setter(&CUserConfigUtils::setDomain) << TextGetter(&CUserConfigUtils::getDomain) << value.second;
    }
}

void TestUserConfigUtils::textFromOutsideRoundTrips()
{
    QFETCH(Setter, setter);
    QFETCH(TextGetter, getter);
    QFETCH(QString, value);
    {
        CUserConfigUtils config(configPath());
        config.setIp(QStringLiteral("good.example"));
        config.setPort(8443);
        (config.*setter)(value);
    }
    CUserConfigUtils config(configPath());
    QCOMPARE((config.*getter)(), value);
    QCOMPARE(config.getIp(), QStringLiteral("good.example"));
    QCOMPARE(config.getPort(), 8443);
    QCOMPARE(config.isUseHttps(), true);
}

void TestUserConfigUtils::deviceSnIsStable()
{
    QString first;
    {
        CUserConfigUtils config(configPath());
        first = config.getDeviceSn();
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(first).hasMatch(), qPrintable(first));
        QCOMPARE(config.getDeviceSn(), first);
    }
    CUserConfigUtils config(configPath());
    QCOMPARE(config.getDeviceSn(), first);
}

void TestUserConfigUtils::confIdsHistory()
{
    CUserConfigUtils config(configPath());
    config.setConfIds({"1", "2", "3", "4", "5"});
    config.setConfIds({"7", "8", "9"});
    CUserConfigUtils reread(configPath());
    QCOMPARE(reread.getConfIds(), QStringList({"7", "8", "9"}));
    QVERIFY(readFile(configPath()).contains("ConfIdsCount=3\r\n"));

    // A damaged count reads a bounded list instead of hanging.
    writeFile(configPath(), "[Config]\nConfigFileVersion=2\n[ConferenceIdsSetting]\nConfIdsCount=2147483647\n"
                            "ConfIds_0=42\n");
    CUserConfigUtils damaged(configPath());
    const QStringList ids = damaged.getConfIds();
    QVERIFY(ids.size() <= 100);
    QCOMPARE(ids.value(0), QStringLiteral("42"));
}

void TestUserConfigUtils::loginStatusNames()
{
    CUserConfigUtils config(configPath());
    for (int status = enums::NotLogin; status <= enums::AnonymousLoggingIn; ++status) {
        config.setLoginStatus(enums::LoginStatus(status));
        CUserConfigUtils reread(configPath());
        QCOMPARE(int(reread.getLoginStatus()), status);
    }
    config.setLoginStatus(enums::NeedChangePassword);
    CUserConfigUtils reread(configPath());
    QCOMPARE(reread.getLoginStatus(), enums::NotLogin);
}

void TestUserConfigUtils::layoutUpgradeKeepsOtherKeys()
{
    writeFile(configPath(), "[Config]\r\nConfigFileVersion=1\r\nJoinConfDisplayName=old\r\nScreenPicPath=C:/x\r\n"
                            "Ip=10.0.0.1\r\n[SipSetting]\r\nScreenName=old\r\nDomain=d.example\r\n");
    CUserConfigUtils config(configPath());
    QCOMPARE(
        readFile(configPath()),
        QByteArray("[Config]\r\nConfigFileVersion=2\r\nIp=10.0.0.1\r\nJoinConfDisplayName=\r\nScreenPicPath=\r\n\r\n"
                   "[SipSetting]\r\nDomain=d.example\r\nScreenName=\r\n\r\n"));
}

void TestUserConfigUtils::currentLayoutIsNotRewritten()
{
    const QByteArray content("[Config]\nConfigFileVersion=2\nIp=10.0.0.1\n");
    writeFile(configPath(), content);
    {
        CUserConfigUtils config(configPath());
        QCOMPARE(config.getIp(), QStringLiteral("10.0.0.1"));
        config.getLanguage();
    }
    QCOMPARE(readFile(configPath()), content);
}

void TestUserConfigUtils::damagedFileIsKept()
{
    const QByteArray content("[Config]\nConfigFileVersion=2\nIp=10.0.0.1\n[SipSetting\nDomain=d\n");
    writeFile(configPath(), content);
    CUserConfigUtils config(configPath());
    QCOMPARE(config.getIp(), QStringLiteral("10.0.0.1"));
    QCOMPARE(readFile(configPath()), content);

    config.setUser(QStringLiteral("anna"));
    QCOMPARE(readFile(configPath() + ".bak"), content);
    CUserConfigUtils reread(configPath());
    QCOMPARE(reread.getIp(), QStringLiteral("10.0.0.1"));
    QCOMPARE(reread.getUser(), QStringLiteral("anna"));
}

void TestUserConfigUtils::migratesFromOldLocation()
{
    const QString appData = m_dir->filePath(QStringLiteral("Users/u/appdata/Roaming"));
    qputenv("appdata", QFile::encodeName(appData));
    const QString oldFile = m_dir->filePath(QStringLiteral("Users/u/AppData/LocalLow/Brivana/Config/config.ini"));
    const QByteArray oldContent("[Config]\nIp=old.example\nport=8443\nUser=bob\nPassword=enc+/=\nset_bw_2m=TRUE\n"
                                "DeviceSn=abc123\nRememberMe=2\nAntoAnswer=yes\nlanguage=ZH_CN\n"
                                "JoinConfNumber=555\nuseHttps=false\n"
                                "[SipSetting]\nTransportProtocol=UDP\nEnableRegistration=True\nDomain=sip.example\n");
    writeFile(oldFile, oldContent);

    const QString newFile = appData + QStringLiteral("/parvela/Brivana/Config/config.ini");
    QVERIFY(QDir().mkpath(QFileInfo(newFile).path()));
    CUserConfigUtils config(newFile);
    QCOMPARE(config.getIp(), QStringLiteral("old.example"));
    QCOMPARE(config.getPort(), 8443);
    QCOMPARE(config.getUser(), QStringLiteral("bob"));
    QCOMPARE(config.getPassword(), QStringLiteral("enc+/="));
    QCOMPARE(config.isSetBw2m(), true);
    QCOMPARE(config.getDeviceSn(), QStringLiteral("abc123"));
    QCOMPARE(config.getRememberMe(), false);
    QCOMPARE(config.isAutoAnswer(), false);
    QCOMPARE(config.getLanguage(), QStringLiteral("ZH_CN"));
    QCOMPARE(config.getTransportProtocol(), QStringLiteral("UDP"));
    QCOMPARE(config.isEnableRegistration(), true);
    QCOMPARE(config.getDomain(), QStringLiteral("sip.example"));
    // Not carried over: these start at their defaults.
    QCOMPARE(config.getJoinConfNumber(), QString());
    QCOMPARE(config.isUseHttps(), true);

    const QByteArray written = readFile(newFile);
    QVERIFY(written.contains("set_bw_2m=true\r\n"));
    QVERIFY(written.contains("AntoAnswer=false\r\n"));
    QVERIFY(written.contains("RememberMe=0\r\n"));
    QVERIFY(written.contains("ConfigFileVersion=2\r\n"));
    QCOMPARE(readFile(oldFile), oldContent);
}

void TestUserConfigUtils::migrationNeedsAppDataInVariable()
{
    const QString appData = m_dir->filePath(QStringLiteral("Users/u/Roaming"));
    qputenv("appdata", QFile::encodeName(appData));
    writeFile(m_dir->filePath(QStringLiteral("Users/u/AppData/LocalLow/Brivana/Config/config.ini")),
              "[Config]\nIp=old.example\n");
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("not found string appdata$")));
    CUserConfigUtils config(configPath());
    QCOMPARE(config.getIp(), QString());
}

QTEST_GUILESS_MAIN(TestUserConfigUtils)
#include "tst_userconfigutils.moc"
