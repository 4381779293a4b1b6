#include "clinguist.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMetaEnum>

#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"

namespace kd_app {
namespace models {

CLinguist::CLinguist() : m_fileCodes({{EN_US, QStringLiteral("en-US")}, {ZH_CN, QStringLiteral("zh-CN")}})
{
}

CLinguist *CLinguist::getInstance()
{
    static CLinguist linguist;
    return &linguist;
}

void CLinguist::changeLanguage(Language lang)
{
    if (lang == UNDEFINED) {
        KD_WARN << "CLinguist::changeLanguage, UNDEFINED";
        return;
    }
    const char *key = QMetaEnum::fromType<Language>().valueToKey(lang);
    if (!key) {
        KD_LOG << QString::asprintf("Invalid language: %d", int(lang));
        return;
    }
    KD_LOG << QString::asprintf("CLinguist::changeLanguage: %s", key);
    if (lang == m_currentLanguage) {
        KD_LOG << "Language not changed";
        return;
    }
    if (!m_fileCodes.contains(lang)) {
        KD_LOG << "Can not find the corresponding language file name flag";
        return;
    }
    const QString filePath = QCoreApplication::applicationDirPath() +
                             QStringLiteral("/translations/lang_%1.qm").arg(m_fileCodes.value(lang));
    KD_LOG << "Language file path:" << filePath;

    QCoreApplication::removeTranslator(&m_translator);
    if (!m_translator.load(filePath)) {
        KD_LOG << "Failed to load language file";
        return;
    }
    QCoreApplication::installTranslator(&m_translator);
    m_currentLanguage = lang;
    if (helpers::CUserConfigUtils *userConfig = helpers::CUserConfigUtils::getInstance()) {
        userConfig->setLanguage(QString::fromLatin1(key));
    }
    emit sigLanguageChanged();
}

QString CLinguist::languageCode() const
{
    return m_fileCodes.value(m_currentLanguage, m_fileCodes.value(EN_US));
}

void CLinguist::loadConfigLanguage()
{
    helpers::CUserConfigUtils *userConfig = helpers::CUserConfigUtils::getInstance();
    const QString stored = userConfig ? userConfig->getLanguage() : QString();
    KD_LOG << "CLinguist::loadConfigLanguage, language:" << stored;

    bool valid = false;
    int value = QMetaEnum::fromType<Language>().keyToValue(stored.toLatin1().constData(), &valid);
    if (!valid) {
        KD_WARN << "Invalid language string, get language by locale";
        const QLocale locale;
        KD_LOG << QString::asprintf("CLinguist::getLanguageByLocale, language:%d, script:%d", int(locale.language()),
                                    int(locale.script()));
        value = locale.language() == QLocale::Chinese ? ZH_CN : EN_US;
    }
    changeLanguage(static_cast<Language>(value));
}

} // namespace models
} // namespace kd_app
