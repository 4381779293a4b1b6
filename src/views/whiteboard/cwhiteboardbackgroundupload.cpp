#include "cwhiteboardbackgroundupload.h"

#include <QFile>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/ctrustedcertificates.h"
#include "views/base/cfiledialogs.h"

namespace kd_app {
namespace views {

using helpers::CLogFormat;
using models::CCallController;

CWhiteBoardBackgroundUpload::CWhiteBoardBackgroundUpload(QWidget *window) : QObject(window), m_pWindow(window)
{
}

CWhiteBoardBackgroundUpload::~CWhiteBoardBackgroundUpload()
{
    // The access manager ends its running request before the form and the
    // file it reads from go.
    delete m_pNam4UploadBackground;
    delete m_pMultiPart4UploadBackground;
    delete m_pFile4UploadBackground;
}

QUrl CWhiteBoardBackgroundUpload::uploadUrl(const QString &server)
{
    QUrl url(server);
    url.setPath(url.path() + QStringLiteral("/acs/upload"));
    return url;
}

void CWhiteBoardBackgroundUpload::slotClickedSelect()
{
    if (m_pNam4UploadBackground) {
        KD_WARN << "m_pNam4UploadBackground is not null, maybe another uploading is running";
        return;
    }
    m_pNam4UploadBackground = new QNetworkAccessManager(this);
    connect(m_pNam4UploadBackground, &QNetworkAccessManager::finished, this,
            &CWhiteBoardBackgroundUpload::slotOnUploadBackgroundFinished);
    connect(m_pNam4UploadBackground, &QNetworkAccessManager::sslErrors, this,
            [](QNetworkReply *reply, const QList<QSslError> &errors) {
                QStringList problems;
                for (const QSslError &error : errors) {
                    problems << error.errorString();
                }
                KD_WARN << "refused, host:" << reply->url().host()
                        << ", errors:" << problems.join(QStringLiteral("; "));
            });

    m_pMultiPart4UploadBackground = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    QHttpPart part;
    part.setRawHeader("Content-Type", "image/jpg;");
    part.setRawHeader("Content-Disposition", "form-data; name=\"file\"; filename=\"background.jpg\"");

    const QString path = CFileDialogs::openFileName(m_pWindow, tr("Choose to upload picture"), QStringLiteral("./"),
                                                    tr("Image files(*.jpg *.png *.jpeg);;All files (*.*)"));
    const CCallController &call = CCallController::getInstance();
    const QList<QNetworkCookie> cookies{QNetworkCookie(QByteArrayLiteral("jwt"), call.getAcsJsonWebToken().toUtf8())};

    m_pFile4UploadBackground = new QFile(path);
    if (path.isEmpty() || !m_pFile4UploadBackground->open(QIODevice::ReadOnly)) {
        KD_WARN << "Open file error!!! strFilePath:" << CLogFormat::oneLine(path);
        reset();
        return;
    }
    part.setBodyDevice(m_pFile4UploadBackground);
    m_pMultiPart4UploadBackground->append(part);

    QNetworkRequest request(uploadUrl(call.getAcsServer()));
    request.setSslConfiguration(models::CTrustedCertificates::sslConfiguration());
    request.setHeader(QNetworkRequest::CookieHeader, QVariant::fromValue(cookies));
    request.setTransferTimeout(m_nTransferTimeoutMs);
    KD_LOG << "url:" << request.url().toDisplayString() << ", file:" << CLogFormat::oneLine(path)
           << ", size:" << m_pFile4UploadBackground->size();
    m_pNam4UploadBackground->post(request, m_pMultiPart4UploadBackground);
}

void CWhiteBoardBackgroundUpload::slotOnUploadBackgroundFinished(QNetworkReply *reply)
{
    const int statusCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    KD_LOG << "statusCode:" << statusCode << ", error:" << reply->error();
    reply->deleteLater();
    reset();
    if (statusCode == 200) {
        emit sigBackgroundUploaded();
    }
    emit sigUploadFinished(statusCode);
}

void CWhiteBoardBackgroundUpload::reset()
{
    m_pNam4UploadBackground->setParent(nullptr);
    m_pNam4UploadBackground->deleteLater();
    m_pMultiPart4UploadBackground->deleteLater();
    m_pFile4UploadBackground->deleteLater();
    m_pNam4UploadBackground = nullptr;
    m_pMultiPart4UploadBackground = nullptr;
    m_pFile4UploadBackground = nullptr;
}

} // namespace views
} // namespace kd_app
