#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Writes a certificate for 127.0.0.1 that signs itself, and its key: no
// authority the client trusts has issued it. Made for one test run; the key
// never leaves the folder the test gives.
inline bool makeSelfSignedPair(const QString &certPath, const QString &keyPath)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days", "1",
                   "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", keyPath, "-out",
                   certPath});
    return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
}
