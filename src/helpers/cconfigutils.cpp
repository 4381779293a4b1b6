#include "cconfigutils.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// The first line of a file whose values are escaped. It holds no "=" and
// does not begin with "[", so readers that do not know it skip it.
const char *const kEscapedMarker = "; escaped values: \\\\ \\r \\n \\0";
// The bytes that would end or cut a written line.
const char kLineBreaking[] = {'\r', '\n', '\0'};

std::string escape(const std::string &value)
{
    std::string result;
    result.reserve(value.size());
    for (const char c : value) {
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\0':
            result += "\\0";
            break;
        default:
            result += c;
        }
    }
    return result;
}

// Lenient: a backslash before any other character is kept as it is.
std::string unescape(const std::string &value)
{
    std::string result;
    result.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c != '\\' || i + 1 == value.size()) {
            result += c;
            continue;
        }
        const char next = value[i + 1];
        const char *const known = "\\rn0";
        const char decoded[] = {'\\', '\r', '\n', '\0'};
        const char *at = strchr(known, next);
        if (!at || next == '\0') {
            result += c;
            continue;
        }
        result += decoded[at - known];
        ++i;
    }
    return result;
}

bool hasLineEnd(const char *text)
{
    return strpbrk(text, "\r\n") != nullptr;
}

// Names the written form could not carry: they would break their line, end
// the section name early, split the key, or turn a pair into a section line.
bool isWritableName(const char *section, const char *key)
{
    if (!section || !key || hasLineEnd(section) || hasLineEnd(key)) {
        return false;
    }
    return !strchr(section, ']') && !strchr(key, '=') && key[0] != '[';
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

    readText(text);
    return !m_bDamaged;
}

void CConfigUtils::readText(const std::string &text)
{
    bool escaped = false;
    std::string section;
    Pairs pending;
    // Pairs before any section line, or under "[]", belong to the section
    // without a name; a section that occurs twice keeps the pairs of both.
    auto flush = [&] {
        Pairs &stored = m_sections[section];
        for (auto &pair : pending) {
            stored[pair.first] = std::move(pair.second);
        }
        pending.clear();
    };
    size_t start = 0;
    bool firstLine = true;
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
        if (firstLine) {
            firstLine = false;
            if (line == kEscapedMarker) {
                escaped = true;
                continue;
            }
        }

        if (!line.empty() && line.front() == '[') {
            if (!section.empty() || !pending.empty()) {
                flush();
            }
            const size_t close = line.find(']');
            if (close == std::string::npos) {
                KD_WARN << "Section line without ']' in:" << m_strFileName.c_str() << "line:" << line.c_str();
                m_bDamaged = true;
                return;
            }
            section = line.substr(1, close - 1);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            std::string value = line.substr(equals + 1);
            pending[line.substr(0, equals)] = escaped ? unescape(value) : value;
        }
    }
    flush();
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

bool CConfigUtils::needsEscapedValues() const
{
    for (const auto &section : m_sections) {
        for (const auto &pair : section.second) {
            if (pair.second.find_first_of(kLineBreaking, 0, sizeof kLineBreaking) != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

std::string CConfigUtils::toText() const
{
    // Files of plain values are written as they always were; a value that
    // would break its line switches the whole file to escaped values, told
    // by its first line, which older readers skip as a line without "=".
    const bool escaped = needsEscapedValues();
    std::string text = escaped ? std::string(kEscapedMarker) + "\r\n" : std::string();
    for (const auto &section : m_sections) {
        if (!section.first.empty()) {
            text += "[" + section.first + "]\r\n";
        }
        for (const auto &pair : section.second) {
            text += pair.first + "=" + (escaped ? escape(pair.second) : pair.second) + "\r\n";
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

bool CConfigUtils::getValue(const char *section, const char *key, std::string *value) const
{
    const std::string *stored = find(section, key);
    if (!stored) {
        return false;
    }
    *value = *stored;
    return true;
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
    setValue(section, key, std::string(value ? value : ""));
}

void CConfigUtils::setValue(const char *section, const char *key, const std::string &value)
{
    if (!isWritableName(section, key)) {
        KD_WARN << "Refused a section or key that would not read back:" << QByteArray(section).toPercentEncoding()
                << QByteArray(key).toPercentEncoding();
        return;
    }
    m_sections[section][key] = value;
    m_bChanged = true;
}

void CConfigUtils::setInt(const char *section, const char *key, int value)
{
    setString(section, key, std::to_string(value).c_str());
}

} // namespace helpers
} // namespace kd_app
