#pragma once

#include <map>
#include <string>

namespace kd_app {
namespace helpers {

// An INI file held whole in memory: sections of key-value byte strings, read
// at once and written back whole. Callers put UTF-8 in and read UTF-8 back.
class CConfigUtils
{
public:
    CConfigUtils() = default;
    virtual ~CConfigUtils();

    CConfigUtils(const CConfigUtils &) = delete;
    CConfigUtils &operator=(const CConfigUtils &) = delete;

    // False when the file cannot be opened (see isDamaged for the other failure).
    bool load(const char *path);
    bool create(const char *path);
    bool save();

    // True when the last load opened the file but stopped at a line it could
    // not read (a section line without "]"). The sections read before that
    // line are kept; the original file is copied to "<file>.bak" before it
    // is written for the first time.
    bool isDamaged() const { return m_bDamaged; }

    const char *getString(const char *section, const char *key, const char *defaultValue) const;
    int getInt(const char *section, const char *key, int defaultValue) const;
    // A section name or key that could not be read back as written (holding
    // a line end, a "]" in a section name, a "=" in a key or a key beginning
    // with "[") is refused and the store is left as it was.
    void setString(const char *section, const char *key, const char *value);
    void setInt(const char *section, const char *key, int value);

    // The same for values of any bytes, a zero byte included; such values
    // are written escaped (see toText) and read back unchanged.
    bool getValue(const char *section, const char *key, std::string *value) const;
    void setValue(const char *section, const char *key, const std::string &value);

private:
    using Pairs = std::map<std::string, std::string>;

    // The whole store in its written form (CR LF line ends).
    std::string toText() const;
    bool needsEscapedValues() const;
    void readText(const std::string &text);

    void reset(const char *path);
    const std::string *find(const char *section, const char *key) const;
    bool backUpDamagedFile();
    bool writeFile();

    std::map<std::string, Pairs> m_sections;
    bool m_bChanged = false;
    std::string m_strFileName;
    bool m_bDamaged = false;
};

} // namespace helpers
} // namespace kd_app
