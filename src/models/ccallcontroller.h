#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "engine/kdmetatypes.h"
#include "engine/kdtypes.h"
#include "helpers/enums.h"
#include "models/structs.h"

class QNetworkReply;
class QSslError;
class QTimer;

namespace kd_app {
namespace models {

// The call state machine: dials (signed in or as a guest), answers and ends
// calls through the engine wrapper, turns the engine's call and content
// events into the call status and the content-stream state, plays the ring
// tone, keeps the running conference and the dialled-number history in the
// per-user settings and fetches the web whiteboard's access token.
class CCallController : public QObject
{
    Q_OBJECT

public:
    // The first use must come after the engine wrapper exists.
    static CCallController &getInstance();

    CCallController(const CCallController &) = delete;
    CCallController &operator=(const CCallController &) = delete;

    void dialOut(const QString &number, const QString &password, bool enableVideo, const QString &peerName);
    void dialOut(const QString &dialString, bool enableVideo, const QString &peerName);
    void anonymousJoinConf(const QString &serverAddress, const QString &confNumber, const QString &displayName,
                           const QString &password);
    void whenLoginSkipped();
    void onCallIncoming(kd::engine::KDCallInfo info);
    bool acceptCall(bool enableVideo);
    bool declineCall();
    bool hangUp();

    void setCallStatus(enums::CallStatus status);
    void setContentStreamStatus(int status, const std::string &senderName, uint64_t senderDeviceId);
    void setContentSourceInfo(const kd::engine::KDContentSourceInfo &info);

    bool setLocalVideoWindow(WId id);
    bool setRemoteVideoWindow(WId id);
    bool setRemoteContentWindow(WId id);
    static bool enableCamera(bool enable);
    static bool enableMic(bool enable);
    static bool isCameraEnabled();
    static bool isMicEnabled();
    static bool repaintVideo();

    QString getPeerNameOrConfNumber() const;
    bool registerSIPServer(const char *domain, const char *displayName, const char *userName, const char *password,
                           const char *transport);
    bool unregisterSIPServer();
    void playSound();
    void stopSound();
    void setAnonymousUserImage();
    void setLoggedInUserImage();
    static QString getDefaultBackgroundPath();
    static QString getDefaultUserAvatarPath();
    static QString getRingtonePath();

    // The dial string of a number and its meeting password: "*password"
    // goes before the first "@", or at the end when there is none.
    static QString composeDialString(const QString &number, const QString &password);
    // A dial string as it may be shown or stored: "1234*99@srv" gives "1234@srv".
    static QString withoutPassword(const QString &dialString);

    enums::CallStatus getCallStatus() const { return m_callStatus; }
    int getCallTypes() const { return m_callTypes; }
    QString getConfNumber() const { return m_qstrConfNumber; }
    QString getPureConfNumber() const { return m_qstrPureConfNumber; }
    QString getConfPassword() const { return m_qstrConfPassword; }
    kd::engine::KDCallInfo getCallInfo() const { return m_callInfo; }
    int getContentStreamStatus() const { return m_nContentStreamStatus; }
    QString getAcsJsonWebToken() const { return m_acsJsonWebToken; }
    QString getAcsServer() const { return m_acsServer; }
    // Whether a whiteboard-token request waits for its answer.
    bool isAcsRequestPending() const { return !m_pAcsReply.isNull(); }
    // The source the user chose when sharing began; handed to the engine
    // again when the application's own capture of the screen ends.
    kd::engine::KDContentSourceInfo getContentSourceInfo() const { return m_contentSourceInfo; }
    // Shown on the sharing toolbar's management button; nothing fills it yet.
    QString getParticipantNumber() const { return m_qstrParticipantNum; }

    static constexpr int kAcsRequestIntervalMs = 10000;
    static constexpr int kConfNumberHistorySize = 5;

signals:
    void sigCallStatusChanged(kd_app::enums::CallStatus status);
    void sigCallStateChanged();
    void sigConfNumberChanged(const QString &qstrConfNumber);
    void sigContentStreamStatusChanged(kd_app::structs::CContentStreamInfo info);
    void sigWaitQueue(int queueSize);

public slots:
    void slotOnCallConnected(kd::engine::KDCallInfo info);
    void slotOnCallState(kd::engine::KDCallInfo info);
    void slotOnCallPeerConnected(kd::engine::KDCallInfo info);
    void slotOnCallEnd(kd::engine::KDCallInfo callInfo);
    void slotOnContent(kd::engine::KDContentInfo contentInfo);
    void slotOnWaitQueue(int queueSize);
    void slotOnWhiteBoardIndication(kd::engine::KDWhiteBoardInfo info);
    void onSlotAcsInfoReplyFinished(QNetworkReply *reply);
    void onSlotRequestAcsInfoTimeout();

private:
    CCallController();
    ~CCallController() override;

    void setConfNumber(const QString &number, bool forced);
    void takeConnectedCall(const kd::engine::KDCallInfo &info);
    void saveCurrentConfNumber2Config();
    void startAcsRequests();
    void stopAcsRequests();
    // Asks for the whiteboard token of this call; false when there is no
    // signed-in account whose token could ask.
    bool sendAcsRequest();
    void logAcsFailure(QNetworkReply *reply);
    void onAcsSslErrors(QNetworkReply *reply, const QList<QSslError> &errors);
    QString acsScheme() const;

    enums::CallStatus m_callStatus = enums::Idle;
    int m_callTypes = 0;
    QString m_qstrConfNumber;
    QString m_qstrPureConfNumber;
    QString m_qstrConfPassword;
    QString m_acsJsonWebToken;
    QString m_acsServer;
    kd::engine::KDCallInfo m_callInfo;
    int m_nContentStreamStatus = enums::ContentStreamStatus_None;
    structs::CContentStreamInfo m_contentStreamInfo;
    QPointer<QNetworkReply> m_pAcsReply;
    // What the pending request's certificate check found wrong.
    QStringList m_acsCertificateProblems;
    // The failure of this call already logged: the same again is not.
    QString m_qstrAcsFailureLogged;
    std::unique_ptr<QTimer> m_pAcsTimer;
    kd::engine::KDWhiteBoardInfo m_whiteBoardInfo;
    kd::engine::KDContentSourceInfo m_contentSourceInfo;
    QString m_qstrPeerName;
    QString m_qstrParticipantNum;
    QNetworkAccessManager m_networkAccessManager;
};

} // namespace models
} // namespace kd_app
