#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QFile;
class QHttpMultiPart;
class QNetworkAccessManager;
class QNetworkReply;
class QWidget;

namespace kd_app {
namespace views {

// The whiteboard's picture background: the user picks a picture, it goes
// to the call's whiteboard server as a form upload ("<server>/acs/upload",
// the call's whiteboard token as the cookie "jwt"), and only the server's
// 200 lets the page show it. One upload at a time; the whiteboard window
// owns one of these and runs it from its picker's upload button.
class CWhiteBoardBackgroundUpload : public QObject
{
    Q_OBJECT

public:
    // A server that stops answering ends the upload as a failure after this.
    static constexpr int kTransferTimeoutMs = 60000;

    // The window is the file dialog's parent and this object's.
    explicit CWhiteBoardBackgroundUpload(QWidget *window);
    ~CWhiteBoardBackgroundUpload() override;

    // Asks for a picture and sends it; a second click while one runs only
    // logs a warning.
    void slotClickedSelect();
    bool isRunning() const { return m_pNam4UploadBackground != nullptr; }
    void setTransferTimeout(int milliseconds) { m_nTransferTimeoutMs = milliseconds; }

    static QUrl uploadUrl(const QString &server);

signals:
    // The server took the picture: the page may show it.
    void sigBackgroundUploaded();
    // Every upload that was sent ends here, with the HTTP status (0 without one).
    void sigUploadFinished(int statusCode);

private:
    void slotOnUploadBackgroundFinished(QNetworkReply *reply);
    void reset();

    QPointer<QWidget> m_pWindow;
    QNetworkAccessManager *m_pNam4UploadBackground = nullptr;
    QFile *m_pFile4UploadBackground = nullptr;
    QHttpMultiPart *m_pMultiPart4UploadBackground = nullptr;
    int m_nTransferTimeoutMs = kTransferTimeoutMs;
};

} // namespace views
} // namespace kd_app
