#include "cconfigutils.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <QFile>
#include <QSaveFile>

#include "helpers/clogformat.h"

namespace kd_app {
namespace helpers {

namespace {

// Reads the whole file; lines of any length survive whole.
bool readAll(FILE *file, std::string &text)
{
    char buffer[4096];
    size_t count = 0;
    while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, count);
    }
    return ferror(file) == 0;
}

QString localPath(const std::string &path)
{
    return QString::fromLocal8Bit(path.c_str());
}

} // namespace

CConfigUtils::~CConfigUtils()
{
    if (m_bChanged) {
        save();
    }
}

void CConfigUtils::reset(const char *path)
{
    m_strFileName = path ? path : "";
    m_sections.clear();
    m_bChanged = false;
    m_bDamaged = false;
}

bool CConfigUtils::load(const char *path)
{
    reset(path);

    FILE *file = fopen(m_strFileName.c_str(), "rb");
    if (!file) {
        const int error = errno;
        KD_LOG << QString::asprintf("Can not open config file: %s, err: %d", m_strFileName.c_str(), error);
        return false;
    }
    std::string text;
    const bool read = readAll(file, text);
    fclose(file);
    if (!read) {
        // Opened but not read to the end: treat like a damaged file, so that
        // nothing it holds is overwritten without a copy.
        KD_WARN << "Failed to read config file:" << m_strFileName.c_str();
        m_bDamaged = true;
        return false;
    }

    std::string section;
    Pairs pending;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }

        if (!line.empty() && line.front() == '[') {
            if (!section.empty()) {
                m_sections[section] = pending;
            }
            const size_t close = line.find(']');
            if (close == std::string::npos) {
                KD_WARN << "Section line without ']' in:" << m_strFileName.c_str() << "line:" << line.c_str();
                m_bDamaged = true;
                return false;
            }
            section = line.substr(1, close - 1);
            pending.clear();
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            pending[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    m_sections[section] = pending;
    return true;
}

bool CConfigUtils::create(const char *path)
{
    reset(path);
    FILE *file = fopen(m_strFileName.c_str(), "wb");
    if (!file) {
        return false;
    }
    fclose(file);
    return true;
}

bool CConfigUtils::save()
{
    if (!m_bChanged) {
        return true;
    }
    if (m_bDamaged && !backUpDamagedFile()) {
        return false;
    }
    if (!writeFile()) {
        return false;
    }
    m_bChanged = false;
    return true;
}

bool CConfigUtils::backUpDamagedFile()
{
    const QString path = localPath(m_strFileName);
    QFile original(path);
    if (!original.open(QIODevice::ReadOnly)) {
        KD_WARN << "Failed to read damaged config file for its copy:" << path << original.errorString();
        return false;
    }
    const QByteArray content = original.readAll();
    QSaveFile backup(path + QStringLiteral(".bak"));
    if (!backup.open(QIODevice::WriteOnly) || backup.write(content) != content.size() || !backup.commit()) {
        KD_WARN << "Failed to keep a copy of damaged config file:" << path << backup.errorString();
        return false;
    }
    KD_LOG << "Kept a copy of damaged config file:" << backup.fileName();
    m_bDamaged = false;
    return true;
}

bool CConfigUtils::writeFile()
{
    // Written beside the file and renamed over it, so that a crash or a full
    // disk leaves either the old file or the new one, never a part of one.
    QSaveFile file(localPath(m_strFileName));
    if (!file.open(QIODevice::WriteOnly)) {
        KD_WARN << "Failed to open config file for writing:" << file.fileName() << file.errorString();
        return false;
    }
    const std::string text = toText();
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        KD_WARN << "Failed to write config file:" << file.fileName() << file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        KD_WARN << "Failed to replace config file:" << file.fileName() << file.errorString();
        return false;
    }
    return true;
}

std::string CConfigUtils::toText() const
{
    std::string text;
    for (const auto &section : m_sections) {
        if (!section.first.empty()) {
            text += "[" + section.first + "]\r\n";
        }
        for (const auto &pair : section.second) {
            text += pair.first + "=" + pair.second + "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

const std::string *CConfigUtils::find(const char *section, const char *key) const
{
    const auto pairs = m_sections.find(section);
    if (pairs == m_sections.end()) {
        return nullptr;
    }
    const auto value = pairs->second.find(key);
    return value == pairs->second.end() ? nullptr : &value->second;
}

const char *CConfigUtils::getString(const char *section, const char *key, const char *defaultValue) const
{
    const std::string *value = find(section, key);
    return value ? value->c_str() : defaultValue;
}

int CConfigUtils::getInt(const char *section, const char *key, int defaultValue) const
{
    const std::string *value = find(section, key);
    if (!value) {
        return defaultValue;
    }
    const long number = strtol(value->c_str(), nullptr, 0);
    if (number > INT_MAX) {
        return INT_MAX;
    }
    if (number < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(number);
}

void CConfigUtils::setString(const char *section, const char *key, const char *value)
{
    m_sections[section][key] = value;
    m_bChanged = true;
}

void CConfigUtils::setInt(const char *section, const char *key, int value)
{
    setString(section, key, std::to_string(value).c_str());
}

} // namespace helpers
} // namespace kd_app
