#include "cmultipartform.h"

#include <QList>

namespace confserver {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// A parameter of a header value such as `form-data; name="file"`: the
// parameters after the first ';', quoted strings kept whole.
QByteArray parameterOf(const QByteArray &value, const QByteArray &name)
{
    int pos = value.indexOf(';');
    while (pos >= 0 && pos < value.size()) {
        ++pos;
        const int equals = value.indexOf('=', pos);
        if (equals < 0) {
            return QByteArray();
        }
        const QByteArray key = value.mid(pos, equals - pos).trimmed().toLower();
        pos = equals + 1;
        while (pos < value.size() && (value[pos] == ' ' || value[pos] == '\t')) {
            ++pos;
        }
        QByteArray text;
        if (pos < value.size() && value[pos] == '"') {
            for (++pos; pos < value.size() && value[pos] != '"'; ++pos) {
                if (value[pos] == '\\' && pos + 1 < value.size()) {
                    ++pos;
                }
                text += value[pos];
            }
            pos = value.indexOf(';', pos);
        } else {
            const int end = value.indexOf(';', pos);
            text = value.mid(pos, end < 0 ? -1 : end - pos).trimmed();
            pos = end;
        }
        if (key == name) {
            return text;
        }
    }
    return QByteArray();
}

// Where a delimiter line ("--boundary" closing with "--" or a line end)
// starts at or after `from`: a boundary that merely begins a longer word is
// content.
int findDelimiter(const QByteArray &body, const QByteArray &nextDelimiter, int from)
{
    for (int found = body.indexOf(nextDelimiter, from); found >= 0; found = body.indexOf(nextDelimiter, found + 1)) {
        int after = found + nextDelimiter.size();
        if (body.mid(after, 2) == "--") {
            return found;
        }
        while (after < body.size() && (body[after] == ' ' || body[after] == '\t')) {
            ++after;
        }
        if (body.mid(after, 2) == kLineEnd) {
            return found;
        }
    }
    return -1;
}

bool readHeaders(const QByteArray &block, CFormPart *part)
{
    for (const QByteArray &line : block.split('\n')) {
        const QByteArray trimmed = line.endsWith('\r') ? line.left(line.size() - 1) : line;
        const int colon = trimmed.indexOf(':');
        if (colon <= 0) {
            return false;
        }
        part->headers.emplace_back(trimmed.left(colon).trimmed(), trimmed.mid(colon + 1).trimmed());
    }
    return true;
}

} // namespace

QByteArray CFormPart::header(const QByteArray &name) const
{
    for (const auto &entry : headers) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
            return entry.second;
        }
    }
    return QByteArray();
}

QByteArray CFormPart::dispositionParameter(const QByteArray &name) const
{
    return parameterOf(header("Content-Disposition"), name.toLower());
}

QByteArray CMultipartForm::boundaryOf(const QByteArray &contentType)
{
    const QByteArray type = contentType.left(contentType.indexOf(';')).trimmed().toLower();
    if (type != "multipart/form-data") {
        return QByteArray();
    }
    return parameterOf(contentType, "boundary");
}

bool CMultipartForm::parse(const QByteArray &boundary, const QByteArray &body, std::vector<CFormPart> *parts)
{
    if (boundary.isEmpty()) {
        return false;
    }
    const QByteArray delimiter = "--" + boundary;
    const QByteArray nextDelimiter = kLineEnd + delimiter;
    int pos = 0;
    if (!body.startsWith(delimiter)) {
        // A preamble before the first part is allowed and ignored.
        pos = findDelimiter(body, nextDelimiter, 0);
        if (pos < 0) {
            return false;
        }
        pos += kLineEnd.size();
    }
    for (;;) {
        pos += delimiter.size();
        if (body.mid(pos, 2) == "--") {
            return true;
        }
        while (pos < body.size() && (body[pos] == ' ' || body[pos] == '\t')) {
            ++pos;
        }
        if (body.mid(pos, 2) != kLineEnd) {
            return false;
        }
        pos += kLineEnd.size();
        CFormPart part;
        if (body.mid(pos, 2) == kLineEnd) {
            pos += kLineEnd.size();
        } else {
            const int headersEnd = body.indexOf("\r\n\r\n", pos);
            if (headersEnd < 0 || !readHeaders(body.mid(pos, headersEnd - pos), &part)) {
                return false;
            }
            pos = headersEnd + 4;
        }
        const int end = findDelimiter(body, nextDelimiter, pos);
        if (end < 0) {
            return false;
        }
        part.body = body.mid(pos, end - pos);
        parts->push_back(part);
        pos = end + kLineEnd.size();
    }
}

} // namespace confserver
