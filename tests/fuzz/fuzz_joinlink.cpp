// Join links reach the client on its command line and, from a second start,
// through the instance channel as UTF-8 text that is parsed the same way.

#include <cstddef>
#include <cstdint>
#include <string>

#include <QString>

#include "models/curljoinconfargsparser.h"

using kd_app::models::CUrlJoinConfArgsParser;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    // A command-line argument ends at its first zero byte.
    const std::string argument(reinterpret_cast<const char *>(data), size);
    parser->parse(argument.c_str());
    parser->clear();

    const QString message = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    parser->parse(message.toLocal8Bit().constData());
    parser->clear();
    return 0;
}
