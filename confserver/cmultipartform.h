#pragma once

#include <utility>
#include <vector>

#include <QByteArray>

namespace confserver {

// One part of a multipart/form-data body, its headers as sent.
struct CFormPart
{
    std::vector<std::pair<QByteArray, QByteArray>> headers; // name and value, in their order
    QByteArray body;

    // The value of the first header of that name (any letter case); empty when none.
    QByteArray header(const QByteArray &name) const;
    // A parameter of the Content-Disposition header ("name", "filename"),
    // without its quotes.
    QByteArray dispositionParameter(const QByteArray &name) const;
};

// Reads multipart/form-data bodies (RFC 7578) exactly as sent: the parts'
// headers stay in their order and their bodies byte for byte.
class CMultipartForm
{
public:
    CMultipartForm() = delete;

    // The boundary of a "multipart/form-data; boundary=..." content type
    // (quoted or not); empty when the type is another or has none.
    static QByteArray boundaryOf(const QByteArray &contentType);
    // False when the body is not a complete form with that boundary.
    static bool parse(const QByteArray &boundary, const QByteArray &body, std::vector<CFormPart> *parts);
};

} // namespace confserver
