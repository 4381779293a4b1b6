#pragma once

#include <QMap>
#include <QObject>
#include <QTranslator>

namespace kd_app {
namespace models {

// The language of the user interface: installs its translation, remembers
// the choice per user and tells the windows to re-translate.
class CLinguist : public QObject
{
    Q_OBJECT

public:
    enum Language {
        UNDEFINED = 0,
        EN_US = 1,
        ZH_CN = 2,
    };
    Q_ENUM(Language)

    static CLinguist *getInstance();

    void changeLanguage(Language lang);
    void loadConfigLanguage();
    // The language as a BCP 47 tag ("en-US", "zh-CN"), for what the program
    // hands to web pages; "en-US" before one is loaded.
    QString languageCode() const;

    Language m_currentLanguage = UNDEFINED;

signals:
    void sigLanguageChanged();

private:
    CLinguist();

    QTranslator m_translator;
    const QMap<Language, QString> m_fileCodes;
};

} // namespace models
} // namespace kd_app
