#include "models/ccallcontroller.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"
#include "models/ctrustedcertificates.h"
#include "models/cucmapimanager.h"
#include "views/base/alertdlg.h"

namespace kd_app {
namespace models {

using helpers::CGeneralUtils;
using helpers::CLogFormat;
using helpers::CUserConfigUtils;

namespace {

const int kRegisterTypeVideoService = 1;
const int kAudioPlayRingtone = 1;

CKDSdkManager &sdk()
{
    return *CKDSdkManager::getInstance();
}

CLoginManager &loginManager()
{
    return CLoginManager::getInstance();
}

QString appFile(const char *relativePath)
{
    return CUserConfigUtils::getAppPath() + QLatin1Char('/') + QLatin1String(relativePath);
}

// Idle and ended alike: no call runs.
bool endsCall(enums::CallStatus status)
{
    return status == enums::Idle || status == enums::Ended;
}

} // namespace

CCallController &CCallController::getInstance()
{
    static CCallController instance;
    return instance;
}

CCallController::CCallController()
{
    qRegisterMetaType<enums::CallStatus>("kd_app::enums::CallStatus");
    qRegisterMetaType<structs::CContentStreamInfo>("kd_app::structs::CContentStreamInfo");
    CKDSdkManager *manager = CKDSdkManager::getInstance();
    connect(manager, &CKDSdkManager::eventCallConnected, this, &CCallController::slotOnCallConnected);
    connect(manager, &CKDSdkManager::eventCallState, this, &CCallController::slotOnCallState);
    connect(manager, &CKDSdkManager::eventCallPeerConnected, this, &CCallController::slotOnCallPeerConnected);
    connect(manager, &CKDSdkManager::eventCallEnd, this, &CCallController::slotOnCallEnd);
    connect(manager, &CKDSdkManager::eventContent, this, &CCallController::slotOnContent);
    connect(manager, &CKDSdkManager::eventWaitQueue, this, &CCallController::slotOnWaitQueue);
    connect(&m_networkAccessManager, &QNetworkAccessManager::finished, this,
            &CCallController::onSlotAcsInfoReplyFinished);
    connect(&m_networkAccessManager, &QNetworkAccessManager::sslErrors, this, &CCallController::onAcsSslErrors);
}

CCallController::~CCallController() = default;

QString CCallController::composeDialString(const QString &number, const QString &password)
{
    if (password.isEmpty()) {
        return number;
    }
    const QString suffix = QLatin1Char('*') + password;
    const int at = number.indexOf(QLatin1Char('@'));
    if (at < 0) {
        return number + suffix;
    }
    QString dialString = number;
    return dialString.insert(at, suffix);
}

void CCallController::dialOut(const QString &number, const QString &password, bool enableVideo, const QString &peerName)
{
    dialOut(composeDialString(number, password), enableVideo, peerName);
}

void CCallController::dialOut(const QString &dialString, bool enableVideo, const QString &peerName)
{
    if (loginManager().getLoginStatus() == enums::LoggedIn) {
        kd::engine::KDRegisterInfo info;
        const bool known = sdk().getRegisterInfo(kRegisterTypeVideoService, info);
        if (!known) {
            KD_LOG << "error: failed to getRegisterInfo";
        } else if (info.state != kd::engine::KD_REGISTER_OK) {
            KD_LOG << "error: unregistered, state:" << info.state;
        }
        if (!known || info.state != kd::engine::KD_REGISTER_OK) {
            views::AlertDlg::question(nullptr, tr("Note"),
                                      tr("Not registered to the video service, please try to log in again."),
                                      QMessageBox::Yes, QMessageBox::Yes);
            return;
        }
    }

    KD_LOG << "qstrConfNumber:" << CLogFormat::maskedDialString(dialString) << ", enableVideo:" << enableVideo;
    playSound();
    setAnonymousUserImage();
    m_qstrPeerName = peerName;
    setConfNumber(dialString, true);
    setCallStatus(enums::Dialing);
    if (!sdk().dialOut(dialString.toUtf8().constData(), enableVideo)) {
        KD_LOG << "Failed to dialOut and change call status to Ended";
        setCallStatus(enums::Ended);
    }
}

void CCallController::anonymousJoinConf(const QString &serverAddress, const QString &confNumber,
                                        const QString &displayName, const QString &password)
{
    KD_LOG << "serverAddress:" << serverAddress << ", confNumber:" << confNumber << ", displayName:" << displayName;
    if (loginManager().getRegisterInfo().state == kd::engine::KD_REGISTER_OK) {
        unregisterSIPServer();
    }
    QString name = displayName;
    if (CGeneralUtils::isNullOrEmpty(name)) {
        name = CGeneralUtils::getLocalIpAddress();
        KD_LOG << "Get host ip address as display name:" << name;
    }
    const QString user = CUserConfigUtils::getInstance()->getDeviceSn();
    KD_LOG << "sipRegister, username:" << user;
    registerSIPServer("", name.toUtf8().constData(), user.toUtf8().constData(), "", "TLS");

    QString dialString = confNumber;
    if (!password.isEmpty()) {
        dialString += QLatin1Char('*') + password;
    }
    dialString += QLatin1Char('@') + serverAddress;
    // The guest's server is reached as the saved choice says; otherwise a
    // plain server could be joined only after a sign-in had said so.
    sdk().enableSecure(CUserConfigUtils::getInstance()->isUseHttps());
    loginManager().setLoginStatus(enums::AnonymousLoggingIn);
    dialOut(dialString, true, QString());
}

void CCallController::whenLoginSkipped()
{
    if (loginManager().getRegisterInfo().state == kd::engine::KD_REGISTER_OK) {
        unregisterSIPServer();
    }
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    const QString transport = config.getTransportProtocol();
    QString screenName = config.getScreenName();
    const QString proxy = config.getProxyServerAddress();
    const QString authUser = config.getAuthenticationUserName();
    const QString authPassword = config.getAuthenticationPassword();

    if (config.isEnableRegistration()) {
        if (screenName.isEmpty()) {
            screenName = authUser;
        }
        registerSIPServer(proxy.toUtf8().constData(), screenName.toUtf8().constData(), authUser.toUtf8().constData(),
                          authPassword.toUtf8().constData(), transport.toUtf8().constData());
        return;
    }
    if (screenName.isEmpty()) {
        screenName = CGeneralUtils::getLocalIpAddress();
    }
    registerSIPServer("", screenName.toUtf8().constData(), config.getDeviceSn().toUtf8().constData(), "",
                      transport.toUtf8().constData());
}

void CCallController::onCallIncoming(kd::engine::KDCallInfo info)
{
    m_callInfo = info;
    // Everything that shows the call's number reads it from here; the last
    // call's number is not this one's.
    const std::string &number = info.conference_number.empty() ? info.peer : info.conference_number;
    setConfNumber(composeDialString(QString::fromStdString(number), QString::fromStdString(info.password)), true);
    playSound();
    setCallStatus(enums::ConfIncoming);
}

bool CCallController::acceptCall(bool enableVideo)
{
    KD_LOG << "enable_video:" << enableVideo;
    setAnonymousUserImage();
    return sdk().acceptCall(enableVideo);
}

bool CCallController::declineCall()
{
    return sdk().declineCall();
}

bool CCallController::hangUp()
{
    return sdk().hangUp();
}

void CCallController::setCallStatus(enums::CallStatus status)
{
    KD_LOG << QString::asprintf("CCallController::setCallStatus, from %d to %d", m_callStatus, status);
    m_callStatus = status;
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();

    const bool inCall = status >= enums::Dialing && status <= enums::Connected;
    if (endsCall(status)) {
        stopSound();
        m_acsServer.clear();
        m_acsJsonWebToken.clear();
        stopAcsRequests();
    } else if (status == enums::Connected && m_callTypes == 1) {
        saveCurrentConfNumber2Config();
        stopSound();
    }
    if (inCall) {
        config.setIsConfRunning(true);
        // Another start of the program reads it from the file: no password there.
        const QString runningConfId = withoutPassword(m_qstrConfNumber);
        KD_LOG << "setRunningConfId:" << runningConfId;
        config.setConfId(runningConfId);
    } else {
        config.setIsConfRunning(false);
        config.setConfId(QString());
    }

    if (endsCall(status) && loginManager().getLoginStatus() == enums::AnonymousLoggingIn) {
        loginManager().setLoginStatus(enums::NotLogin);
    }
    emit sigCallStatusChanged(status);
}

void CCallController::setContentStreamStatus(int status, const std::string &senderName, uint64_t senderDeviceId)
{
    KD_LOG << "current status:" << m_nContentStreamStatus << ", change to:" << status;
    if (status == m_nContentStreamStatus) {
        return;
    }
    structs::CContentStreamInfo info;
    info.previousStatus = m_nContentStreamStatus;
    info.currentStatus = status;
    info.senderName = senderName;
    info.senderDeviceId = senderDeviceId;
    m_nContentStreamStatus = status;
    m_contentStreamInfo = info;
    emit sigContentStreamStatusChanged(info);
}

void CCallController::setContentSourceInfo(const kd::engine::KDContentSourceInfo &info)
{
    m_contentSourceInfo = info;
}

bool CCallController::setLocalVideoWindow(WId id)
{
    KD_LOG << "id:" << id;
    return sdk().setLocalVideoWindow(id);
}

bool CCallController::setRemoteVideoWindow(WId id)
{
    KD_LOG << "id:" << id;
    return sdk().setRemoteVideoWindow(id);
}

bool CCallController::setRemoteContentWindow(WId id)
{
    KD_LOG << "id:" << id;
    return sdk().setRemoteContentWindow(id);
}

bool CCallController::enableCamera(bool enable)
{
    return sdk().enableCamera(enable);
}

bool CCallController::enableMic(bool enable)
{
    return sdk().enableMic(enable);
}

bool CCallController::isCameraEnabled()
{
    return sdk().cameraEnabled();
}

bool CCallController::isMicEnabled()
{
    return sdk().micEnabled();
}

bool CCallController::repaintVideo()
{
    return sdk().repaintVideo();
}

QString CCallController::withoutPassword(const QString &dialString)
{
    const int star = dialString.indexOf(QLatin1Char('*'));
    if (star < 0) {
        return dialString;
    }
    const int at = dialString.indexOf(QLatin1Char('@'), star);
    return dialString.left(star) + (at < 0 ? QString() : dialString.mid(at));
}

QString CCallController::getPeerNameOrConfNumber() const
{
    return m_qstrPeerName.isEmpty() ? m_qstrConfNumber : m_qstrPeerName;
}

bool CCallController::registerSIPServer(const char *domain, const char *displayName, const char *userName,
                                        const char *password, const char *transport)
{
    KD_LOG << "domain:" << domain << ", displayName:" << QString::fromUtf8(displayName) << ", userName:" << userName
           << ", transport:" << transport;
    return sdk().registerSIPServer(domain, displayName, userName, password, transport);
}

bool CCallController::unregisterSIPServer()
{
    KD_LOG << "unregister";
    return sdk().unregisterSIPServer();
}

void CCallController::playSound()
{
    stopSound();
    sdk().setAudioFile(getRingtonePath());
    sdk().startAudioPlay(kAudioPlayRingtone);
    KD_LOG << "done";
}

void CCallController::stopSound()
{
    if (sdk().isAudioPlaying()) {
        sdk().stopAudioPlay();
    }
}

void CCallController::setAnonymousUserImage()
{
    if (loginManager().getLoginStatus() == enums::LoggedIn) {
        setLoggedInUserImage();
        return;
    }
    sdk().setUserImage(getDefaultBackgroundPath().toUtf8().constData(),
                       getDefaultUserAvatarPath().toUtf8().constData());
}

void CCallController::setLoggedInUserImage()
{
    const bool downloaded = loginManager().isAvatarDownloaded();
    KD_LOG << "AvatarDownloadedOk:" << downloaded;
    const QString image = downloaded ? CUserConfigUtils::getInstance()->getHeadPicPath() : getDefaultUserAvatarPath();
    sdk().setUserImage(getDefaultBackgroundPath().toUtf8().constData(), image.toUtf8().constData());
}

QString CCallController::getDefaultBackgroundPath()
{
    static const QString path = appFile("resources/images/background.jpg");
    return path;
}

QString CCallController::getDefaultUserAvatarPath()
{
    static const QString path = appFile("resources/images/default_user_header.jpg");
    return path;
}

QString CCallController::getRingtonePath()
{
    static const QString path = appFile("resources/sounds/ringtone.wav");
    return path;
}

void CCallController::slotOnCallConnected(kd::engine::KDCallInfo info)
{
    // Whatever kind of call this is, it no longer rings.
    stopSound();
    takeConnectedCall(info);

    if (info.svcCallType == 2) {
        m_callTypes = 3;
    } else if (info.svcCallType == 1) {
        m_callTypes = 2;
        setCallStatus(enums::Connected);
    } else {
        m_callTypes = 1;
        setCallStatus(enums::Connected);
    }
    KD_LOG << "set m_callTypes:" << m_callTypes;
    startAcsRequests();
}

void CCallController::slotOnCallPeerConnected(kd::engine::KDCallInfo info)
{
    stopSound();
    m_callTypes = 1;
    KD_LOG << "set m_callTypes:" << m_callTypes;
    takeConnectedCall(info);
    setCallStatus(enums::Connected);
}

void CCallController::takeConnectedCall(const kd::engine::KDCallInfo &info)
{
    m_callInfo = info;
    // The engine's number may carry the server part: the password goes
    // before it, as in a dial string, so that the dialled one is recognised.
    const QString number =
        composeDialString(QString::fromStdString(info.conference_number), QString::fromStdString(info.password));
    // Not forced: the dial string of this call, with its server part,
    // outlives the engine's shorter number.
    setConfNumber(number, false);
    setContentStreamStatus(enums::ContentStreamStatus_None, std::string(), 0);
}

void CCallController::slotOnCallState(kd::engine::KDCallInfo info)
{
    m_callInfo = info;
    emit sigCallStateChanged();
}

void CCallController::slotOnCallEnd(kd::engine::KDCallInfo callInfo)
{
    Q_UNUSED(callInfo)
    setCallStatus(enums::Ended);
}

void CCallController::slotOnContent(kd::engine::KDContentInfo contentInfo)
{
    KD_LOG << "enabled:" << contentInfo.enabled;
    if (!contentInfo.enabled) {
        setContentStreamStatus(enums::ContentStreamStatus_None, std::string(), 0);
        return;
    }
    const bool receiving = contentInfo.dir != 0;
    int status = enums::ContentStreamStatus_None;
    if (contentInfo.type == kd::engine::KD_STREAM_CONTENT) {
        status = receiving ? enums::ContentStreamStatus_ReceivingContentStarted
                           : enums::ContentStreamStatus_SendingContentStarted;
    } else if (contentInfo.type == kd::engine::KD_STREAM_WHITEBOARD) {
        status = receiving ? enums::ContentStreamStatus_ReceivingWhiteBoardStarted
                           : enums::ContentStreamStatus_SendingWhiteBoardStarted;
    } else {
        return;
    }
    setContentStreamStatus(status, contentInfo.senderName, contentInfo.senderDeviceId);
}

void CCallController::slotOnWaitQueue(int queueSize)
{
    KD_LOG << "queueSize:" << queueSize;
    emit sigWaitQueue(queueSize);
}

void CCallController::slotOnWhiteBoardIndication(kd::engine::KDWhiteBoardInfo info)
{
    KD_LOG << "WhiteBoardIndication authServer:" << QString::fromStdString(info.authServer)
           << ",server:" << QString::fromStdString(info.server);
    m_whiteBoardInfo = info;
    startAcsRequests();
}

void CCallController::setConfNumber(const QString &number, bool forced)
{
    KD_LOG << "number:" << CLogFormat::maskedDialString(number);
    if (forced || !m_qstrConfNumber.startsWith(number)) {
        m_qstrConfNumber = number;
    }
    const int star = number.indexOf(QLatin1Char('*'));
    int at = number.lastIndexOf(QLatin1Char('@'));
    if (star < 0) {
        m_qstrPureConfNumber = at < 0 ? number : number.left(at);
        m_qstrConfPassword.clear();
    } else {
        if (at < star) {
            at = number.size();
        }
        m_qstrPureConfNumber = number.left(star);
        m_qstrConfPassword = number.mid(star + 1, at - star - 1);
    }
    emit sigConfNumberChanged(m_qstrConfNumber);
}

void CCallController::saveCurrentConfNumber2Config()
{
    // The history is shown to whoever uses this account on this machine: a
    // meeting password does not belong there.
    const QString entry = withoutPassword(m_qstrConfNumber);
    KD_LOG << "Save conf number to history list: {0}" << entry;
    if (entry.trimmed().isEmpty() || entry.contains(QLatin1String("unknown"))) {
        return;
    }
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    QStringList history = config.getConfIds();
    history.removeAll(entry);
    history.prepend(entry);
    while (history.size() > kConfNumberHistorySize) {
        history.removeLast();
    }
    config.setConfIds(history);
}

QString CCallController::acsScheme() const
{
    return CUserConfigUtils::getInstance()->isUseHttps() ? QStringLiteral("https://") : QStringLiteral("http://");
}

void CCallController::startAcsRequests()
{
    // Each call logs its own first failure.
    m_qstrAcsFailureLogged.clear();
    if (!sendAcsRequest()) {
        stopAcsRequests();
        return;
    }
    if (!m_pAcsTimer) {
        m_pAcsTimer = std::make_unique<QTimer>();
        connect(m_pAcsTimer.get(), &QTimer::timeout, this, &CCallController::onSlotRequestAcsInfoTimeout);
    }
    KD_LOG << "Start ACS TIMER";
    m_pAcsTimer->start(kAcsRequestIntervalMs);
}

void CCallController::stopAcsRequests()
{
    if (m_pAcsTimer && m_pAcsTimer->isActive()) {
        m_pAcsTimer->stop();
    }
    // A late answer must not bring back the token of a call that has ended.
    if (QNetworkReply *reply = m_pAcsReply.data()) {
        m_pAcsReply.clear();
        reply->abort();
    }
}

void CCallController::onSlotRequestAcsInfoTimeout()
{
    if (!sendAcsRequest()) {
        stopAcsRequests();
    }
}

bool CCallController::sendAcsRequest()
{
    // The token is the signed-in account's and goes only to the server that
    // issued it: a guest, or an account signed out since, has none to send.
    const CLoginManager &login = loginManager();
    const QString token = login.getLoginToken();
    if (token.isEmpty()) {
        KD_LOG << "No signed-in account, so no whiteboard token is asked for";
        return false;
    }
    const QUrlQuery meeting{{QStringLiteral("confNumericId"), CUCMApiManager::meetingNumberOf(m_qstrConfNumber)},
                            {QStringLiteral("deviceId"), QString::number(login.getLoginUserInfo().deviceId)}};
    const QUrl address = CUCMApiManager::restUrl(login.getServerUrl(), {QStringLiteral("acsToken")}, token, meeting);
    QNetworkRequest request(address);
    request.setSslConfiguration(CTrustedCertificates::sslConfiguration());

    // Only the newest request counts; an older one still under way is dropped.
    if (QNetworkReply *older = m_pAcsReply.data()) {
        m_pAcsReply.clear();
        older->abort();
    }
    m_acsCertificateProblems.clear();
    KD_LOG << "requestAcsInfo:" << CLogFormat::maskedUrl(address);
    m_pAcsReply = m_networkAccessManager.get(request);
    return true;
}

void CCallController::onAcsSslErrors(QNetworkReply *reply, const QList<QSslError> &errors)
{
    // Collected for the failure line; the reply then ends with a handshake
    // error, since nothing here accepts a certificate that does not verify.
    if (reply != m_pAcsReply.data()) {
        return;
    }
    for (const QSslError &error : errors) {
        m_acsCertificateProblems << error.errorString();
    }
}

void CCallController::logAcsFailure(QNetworkReply *reply)
{
    const QVariant statusCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QString failure = QString::number(reply->error()) + QLatin1Char('/') + statusCode.toString();
    // Asked again every few seconds, a refusal would otherwise fill the log.
    if (failure == m_qstrAcsFailureLogged) {
        return;
    }
    m_qstrAcsFailureLogged = failure;
    if (statusCode.isValid()) {
        KD_LOG << "status code=" << statusCode.toInt();
    }
    const QVariant reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute);
    if (reason.isValid()) {
        KD_LOG << "reason=" << reason.toString();
    }
    // The error text can hold the whole address, token and all: not logged.
    KD_LOG << "Failed: error" << reply->error() << ", HTTP status" << statusCode.toInt()
           << ", address:" << CLogFormat::maskedUrl(reply->url())
           << (m_acsCertificateProblems.isEmpty()
                   ? QString()
                   : QStringLiteral(", certificate: ") + m_acsCertificateProblems.join(QStringLiteral("; ")));
}

void CCallController::onSlotAcsInfoReplyFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_pAcsReply.data()) {
        return;
    }
    m_pAcsReply.clear();

    if (reply->error() != QNetworkReply::NoError) {
        logAcsFailure(reply);
        return;
    }
    const QVariant statusCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (statusCode.isValid()) {
        KD_LOG << "status code=" << statusCode.toInt();
    }
    const QVariant reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute);
    if (reason.isValid()) {
        KD_LOG << "reason=" << reason.toString();
    }

    const QByteArray body = reply->readAll();
    KD_LOG << "ACS request contents:" << body.size() << "bytes";
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (document.isNull()) {
        KD_LOG << "done";
        return;
    }
    const QJsonObject object = document.object();
    m_acsJsonWebToken = object.value(QStringLiteral("acsJsonWebToken")).toString();
    KD_LOG << "m_acsJsonWebToken:" << CLogFormat::masked(m_acsJsonWebToken);
    const CLoginManager &login = loginManager();
    const QString hostKey =
        login.getRegisterInfo().useInternalServer ? QStringLiteral("internalEdgeIp") : QStringLiteral("externalEdgeIp");
    const QString host = object.value(hostKey).toString();
    m_acsServer = acsScheme() + host + QLatin1Char(':') + QString::number(login.getPort());
    KD_LOG << "ACS request contents m_acsServer:" << m_acsServer;

    if (m_nContentStreamStatus == enums::ContentStreamStatus_ReceivingWhiteBoardStarted ||
        m_nContentStreamStatus == enums::ContentStreamStatus_SendingWhiteBoardStarted) {
        structs::CContentStreamInfo info = m_contentStreamInfo;
        info.previousStatus = m_nContentStreamStatus;
        info.currentStatus = m_nContentStreamStatus;
        emit sigContentStreamStatusChanged(info);
    }
    if (m_pAcsTimer && m_pAcsTimer->isActive()) {
        m_pAcsTimer->stop();
    }
    KD_LOG << "done";
}

} // namespace models
} // namespace kd_app
