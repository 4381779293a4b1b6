#pragma once

// The client's models wired as the program wires them, on our engine with no
// event latency: per-user settings in a temporary folder, the engine brought
// up by the login manager, the call controller connected, and the window
// manager's two reactions the models rely on (a sign-in error ends the login,
// an incoming call reaches the call controller).

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "helpers/cuserconfigutils.h"
#include "kdsdkcontrol.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"

namespace fixture {

using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CCallController;
using kd_app::models::CKDSdkManager;
using kd_app::models::CLoginManager;
namespace enums = kd_app::enums;

// Once per test program: the login manager lives for the whole process, as
// in the program, so its engine is brought up once. A test of the call
// window leaves incoming calls to the window, their one receiver.
inline kd::sdk::IEngineControl *startClient(const QTemporaryDir &appData, bool routeIncomingCalls = true)
{
    qputenv("appdata", QFile::encodeName(appData.path()));
    CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()).constData());
    CLoginManager &login = CLoginManager::getInstance();
    login.initKDSdkManagerInstance();
    kd::sdk::IEngineControl *control = kd::sdk::currentEngineControl();
    control->setEventLatency(0);
    login.initConnections();
    CCallController &calls = CCallController::getInstance();

    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    QObject::connect(sdk, &CKDSdkManager::eventError, &login, [&login](kd::engine::KDError error) {
        if (login.getLoginStatus() == enums::LoggingIn && (error.action == "avlogin" || error.action == "getFeature")) {
            login.onLoggingInFailed(false);
        }
    });
    if (routeIncomingCalls) {
        QObject::connect(sdk, &CKDSdkManager::eventCallIncoming, &calls, &CCallController::onCallIncoming);
    }
    return control;
}

inline kd::sdk::KDModelAccount account(const std::string &user, const std::string &password,
                                       const std::string &displayName, uint64_t userId)
{
    kd::sdk::KDModelAccount result;
    result.username = user;
    result.password = password;
    result.displayName = displayName;
    result.userId = userId;
    return result;
}

// Lets every event the engine raised so far reach the models.
inline void settle(kd::sdk::IEngineControl *control)
{
    QVERIFY2(control->waitForIdle(kdtest::kStateWaitMs), "the engine still raised events after the wait's bound");
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Back to a signed-out client without a call, through the operations the
// program itself uses, so that scenarios can follow one another.
inline void resetClient(kd::sdk::IEngineControl *control)
{
    CCallController &calls = CCallController::getInstance();
    CLoginManager &login = CLoginManager::getInstance();
    settle(control);
    if (calls.getCallStatus() != enums::Idle && calls.getCallStatus() != enums::Ended) {
        calls.hangUp();
        settle(control);
    }
    calls.setCallStatus(enums::Idle);
    calls.setContentStreamStatus(enums::ContentStreamStatus_None, std::string(), 0);
    login.logout();
    settle(control);
    login.setLoginProgress(enums::Initial);

    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    config.setIp(QString());
    config.setUser(QString());
    config.setPassword(QString());
    config.setPort(0);
    config.setUseHttps(false);
    config.setRememberMe(true);
    config.setConfIds(QStringList());
    QFile::remove(config.getHeadPicPath());
    control->clearOperations();
}

// The names of the engine operations called since the last clear, with
// their recorded arguments ("dialOut(1001,1)").
inline QStringList operations(kd::sdk::IEngineControl *control)
{
    QStringList result;
    for (const kd::sdk::KDOperationRecord &record : control->operations()) {
        result << QString::fromStdString(record.name + "(" + record.args + ")");
    }
    return result;
}

inline QStringList operationsNamed(kd::sdk::IEngineControl *control, const QString &name)
{
    return operations(control).filter(QRegularExpression("^" + name + "\\("));
}

// Signs in and waits for the engine's answer; true when signed in.
inline bool signInAs(kd::sdk::IEngineControl *control, const QString &user, const QString &password)
{
    CLoginManager &login = CLoginManager::getInstance();
    if (!login.login(QStringLiteral("conf.parvela.test"), false, 0, user, password)) {
        return false;
    }
    if (!QTest::qWaitFor([&login] { return login.getLoginStatus() != enums::LoggingIn; }, 5000)) {
        return false;
    }
    settle(control);
    return login.getLoginStatus() == enums::LoggedIn;
}

// The program's ring tone lives in the application folder; a build without
// sound files gets a silent one for as long as the test runs. Returns whether
// it wrote the file, so that the test removes only what it made.
inline bool provideRingtone()
{
    const QString path = CCallController::getRingtonePath();
    if (QFileInfo::exists(path)) {
        return false;
    }
    QDir().mkpath(QFileInfo(path).path());
    const quint32 rate = 8000;
    const quint32 dataSize = rate * 30;
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << rate << quint16(1) << quint16(8);
    out.writeRawData("data", 4);
    out << dataSize;
    wav.append(QByteArray(int(dataSize), char(0x80)));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size();
}

// A connected call in meeting 77001 ("Review", hosted by host1, attended by
// guest1, both with password "pass"), signed in as one of them; the model
// gets the meeting and its accounts on first use. Going away signs out and
// removes the ringtone it had to provide.
class CReviewMeetingCall
{
public:
    CReviewMeetingCall(kd::sdk::IEngineControl *control, const QString &user) : m_control(control)
    {
        static bool modelReady = false;
        if (!modelReady) {
            control->addAccount(account("host1", "pass", "Host One", 501));
            control->addAccount(account("guest1", "pass", "Guest One", 502));
            kd::sdk::KDModelMeeting meeting;
            meeting.number = "77001";
            meeting.name = "Review";
            meeting.hosts = {"host1"};
            control->addMeeting(meeting);
            modelReady = true;
        }
        m_bRingtone = provideRingtone();
        if (!signInAs(control, user, QStringLiteral("pass"))) {
            return;
        }
        CCallController &calls = CCallController::getInstance();
        calls.dialOut(QStringLiteral("77001"), QString(), true, QString());
        m_bConnected = QTest::qWaitFor([&calls] { return calls.getCallStatus() == enums::Connected; }, 5000);
    }
    ~CReviewMeetingCall()
    {
        resetClient(m_control);
        if (m_bRingtone) {
            QFile::remove(CCallController::getRingtonePath());
        }
    }
    CReviewMeetingCall(const CReviewMeetingCall &) = delete;
    CReviewMeetingCall &operator=(const CReviewMeetingCall &) = delete;

    bool isConnected() const { return m_bConnected; }

private:
    kd::sdk::IEngineControl *m_control;
    bool m_bRingtone = false;
    bool m_bConnected = false;
};

} // namespace fixture

