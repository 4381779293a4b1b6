#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Records the addresses the desktop was asked to open (the browser, the mail
// program), by scheme, instead of opening them.
class CUrlCatcher : public QObject
{
    Q_OBJECT

public:
    explicit CUrlCatcher(const QStringList &schemes = {"http", "https", "mailto", "file"}) : m_schemes(schemes)
    {
        for (const QString &scheme : schemes) {
            QDesktopServices::setUrlHandler(scheme, this, "open");
        }
    }
    ~CUrlCatcher() override
    {
        for (const QString &scheme : m_schemes) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }

private:
    QStringList m_schemes;
};
