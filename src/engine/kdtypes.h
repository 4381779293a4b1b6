#pragma once

// Value records exchanged with the conferencing engine. Member order and widths
// follow the engine's layout; members the engine leaves unset start at zero so
// that no reader ever sees an indeterminate value.

#include <cstdint>
#include <string>
#include <vector>

namespace kd {
namespace engine {

typedef void *KDWindowHandle;

typedef enum _KD_DEVICE_TYPE {
    KD_DEVICE_MIC = 0,
    KD_DEVICE_SPEAKER = 1,
    KD_DEVICE_CAMERA = 2,
} KD_DEVICE_TYPE;

typedef enum _KD_CALL_TYPE {
    KD_CALL_TYPE_NONE = 0,
    KD_CALL_TYPE_ACCOUNT = 1,
    KD_CALL_TYPE_SIP = 2,
} KD_CALL_TYPE;

typedef enum _KD_REGISTER_STATE {
    KD_REGISTER_NONE = 0,
    KD_REGISTER_OK = 1,
    KD_REGISTER_FAILED = 2,
    KD_REGISTER_PROGRESS = 3,
    KD_REGISTER_REPLACED = 4,
} KD_REGISTER_STATE;

typedef enum _KD_STREAM_TYPE {
    KD_STREAM_AUDIO = 0,
    KD_STREAM_VIDEO = 1,
    KD_STREAM_CONTENT = 2,
    KD_STREAM_WHITEBOARD = 3,
} KD_STREAM_TYPE;

// Pixel formats of captured frames; the codes are QImage's format numbers.
typedef enum _KD_PIX_FMT {
    KD_PIX_FMT_RGB32 = 4, // what an X11 screen grab gives
    KD_PIX_FMT_ARGB32 = 5,
    KD_PIX_FMT_ARGB32_PREMULTIPLIED = 6,
    KD_PIX_FMT_RGB888 = 13,
} KD_PIX_FMT;

class KDError
{
public:
    int type = 5;
    std::string action;
    int code = 0;
    std::string msg;
    std::vector<std::string> params;

    void clear()
    {
        type = 5;
        action.clear();
        code = 0;
        msg.clear();
        params.clear();
    }
};

class KDWarn
{
public:
    int code = 0;
    std::string msg;
};

class KDCallInfo
{
public:
    KDCallInfo() { clear(); }

    bool isAudioOnly = false;
    bool contentEnabled = true;
    bool isBigConference = false;
    bool isRemoteMuted = false;
    std::string peer;
    std::string conference_number;
    std::string password;
    KDError err;
    int svcCallType = 0;
    int svcCallAction = 0;
    int reserved = 0;

    void clear()
    {
        isAudioOnly = false;
        contentEnabled = true;
        isBigConference = false;
        isRemoteMuted = false;
        peer.clear();
        conference_number.clear();
        password.clear();
        err.clear();
        svcCallType = 0;
    }
};

class KDRegisterInfo
{
public:
    int type = 0;
    int state = 0;
    bool useInternalServer = false;
    std::string internalServer;
    std::string externalServer;
    int transProtocol = 0;
    int reserved = 0;
    std::string reservedText;

    void clear()
    {
        type = 0;
        state = 0;
        useInternalServer = false;
        internalServer.clear();
        externalServer.clear();
        transProtocol = 0;
    }
};

class KDContentInfo
{
public:
    bool enabled = false;
    int dir = 1;
    int type = 2;
    int status = 0;
    bool isBigConference = false;
    bool isRemoteMuted = false;
    bool reservedFlag = false;
    std::string senderName;
    uint64_t senderDeviceId = 0;

    void clear() { *this = KDContentInfo(); }
};

class KDVideoSize
{
public:
    int width = 0;
    int height = 0;

    void clear()
    {
        width = 0;
        height = 0;
    }
};

class KDContentSourceInfo
{
public:
    int type = 0;
    std::string windowTitle;
    KDWindowHandle windowId = nullptr;
    bool keepRatio = false;
    bool reservedFlag = false;
    int captureX = 0;
    int captureY = 0;
    KDVideoSize captureSize;
    bool valid = false;
    unsigned char *frameData = nullptr;
    int frameBytesPerLine = 0;
    int frameReserved1 = 0;
    int framePixelFormat = KD_PIX_FMT_RGB888;
    int frameReserved2 = 0;

    void clear()
    {
        windowId = nullptr;
        keepRatio = false;
        reservedFlag = false;
        captureX = 0;
        captureY = 0;
        captureSize.clear();
        frameData = nullptr;
        framePixelFormat = KD_PIX_FMT_RGB888;
    }
};

class KDDevice
{
public:
    uint32_t id = 0xFFFFFFFFu;
    int type = 0;
    std::string name;
    std::string desc;

    void clear()
    {
        id = 0xFFFFFFFFu;
        type = 0;
        name.clear();
        desc.clear();
    }
};

class KDUserInfo
{
public:
    uint64_t userId = 0;
    std::string username;
    std::string displayName;
    std::string org;
    std::string orgPortAllocMode;
    uint64_t orgPortCount = 0;
    std::string email;
    std::string cellphone;
    std::string telephone;
    std::string reservedText;
    uint64_t deviceId = 0;
    std::string dept;
    bool everChangedPasswd = false;
    bool passwordChangeRequired = false;
    std::string customizedH5UrlPrefix;
    std::string token;
    std::string sorvelVersion;
    std::string specifiedUpgradingServerAddress;
    uint64_t serverTime = 0;
    std::string callNumber;
    std::string appServerType;
    std::string urlSuffixForMobile;
    std::string urlSuffixForPC;
    bool contactWebPage = false;
    bool p2pCall = false;
    bool chatInConference = false;
    bool switchingToAudioConference = false;
    bool sitenameIsChangeable = false;
    bool reservedFlag2 = false;
    bool reservedFlag3 = false;
    bool reservedFlag4 = false;
    bool reservedFlag5 = false;
    std::string vmr;
    std::string sipUserName;
};

class KDPasswordPolicy
{
public:
    int minLength = 0;
    int maxLength = 0;
    int typeCount = 0;
    std::string specialChars;

    void clear()
    {
        minLength = 0;
        maxLength = 0;
        typeCount = 0;
        specialChars.clear();
    }
};

class AVFeature
{
public:
    std::string appServerType;
    std::string version;
    bool apiEnabled = false;
    bool passwordEncryptionWithAES = false;
    bool enableChangePassword = true;

    void clear() { *this = AVFeature(); }
};

class KDVolume
{
public:
    int mute = 0;
    float volume = 0.0f;

    void clear()
    {
        mute = 0;
        volume = 0.0f;
    }
};

class KDBitmap
{
public:
    int width = 0;
    int height = 0;
    unsigned char *data = nullptr;
};

class KDThumbnail
{
public:
    int width = 0;
    int height = 0;
    unsigned char *data = nullptr;
};

class KDWhiteBoardInfo
{
public:
    int kind = 0;
    std::string authServer;
    std::string server;
};

class KDStreamStats
{
public:
    int mediaType = 0;
    int direction = 0;
    std::string codec;
    float lineRate = 0.0f;
    float actualLineRate = 0.0f;
    int32_t reserved1 = 0;
    int32_t reserved2 = 0;
    float frameRate = 0.0f;
    int width = 0;
    int height = 0;
    uint64_t packetsLost = 0;
    float packetLostRate = 0.0f;
    bool encrypted = false;
    int reserved3 = 0;
    std::string reservedText;
};

class KDStats
{
public:
    static constexpr int kMaxStreams = 32;

    int count = 0;
    KDStreamStats streams[kMaxStreams];
};

class KDDiagItem
{
public:
    std::string name;
    int status = 0;
    std::string detail;
};

class KDDiagMedia
{
public:
    std::string texts[2];
    KDDiagItem items[3];
};

class KDDiagStream
{
public:
    KDDiagMedia media[2];
    KDDiagItem item;
};

class KDDiagRole
{
public:
    std::string texts[2];
    KDDiagItem item;
};

class KDDiagCall
{
public:
    KDDiagItem item;
    std::string texts[5];
    KDDiagRole roles[2];
    KDDiagStream streams[3];
};

class KDDiag
{
public:
    KDDiagItem items[5];
    KDDiagCall call;
    int advice = 0;
    std::string adviceParam;
};

// Records below are named by the engine's interfaces but never read by the client.

class KDFrame
{
public:
    int width = 0;
    int height = 0;
    int pixelFormat = 0;
    int bytesPerLine = 0;
    unsigned char *data = nullptr;
};

class KDCallLog
{
public:
    std::string peer;
    std::string number;
    uint64_t startTime = 0;
    int duration = 0;
    int direction = 0;
};

class KDVoteInfo
{
public:
    std::string title;
    std::vector<std::string> options;
    int id = 0;
};

class KDSubtitle
{
public:
    std::string text;
    int position = 0;
};

class KDFeatureSupport
{
public:
    bool whiteBoard = false;
    bool contentAudio = false;
    bool hardwareCoding = false;
};

class KDCameraCaptureInfo
{
public:
    int width = 0;
    int height = 0;
    int frameRate = 0;
};

class KDAudioNoiseSuppressionConfiguration
{
public:
    int mode = 0;
    int level = 0;
};

class KDVideoEncoderConfiguration
{
public:
    int width = 0;
    int height = 0;
    int frameRate = 0;
    int bitrate = 0;
};

} // namespace engine
} // namespace kd
