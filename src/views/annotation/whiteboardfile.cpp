#include "whiteboardfile.h"

#include <QCoreApplication>
#include <QDir>

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

WhiteBoardFile::WhiteBoardFile(QObject *parent)
    : QObject(parent),
      m_qstrFolderPath(QCoreApplication::applicationDirPath() + QStringLiteral("/") + QStringLiteral("Paint"))
{
    if (QDir(m_qstrFolderPath).exists()) {
        return;
    }
    // The application folder may be read-only (an installed program); the
    // canvas draws all the same.
    if (!QDir().mkpath(m_qstrFolderPath)) {
        KD_WARN << "Failed to create folder:" << m_qstrFolderPath;
    }
}

WhiteBoardFile::~WhiteBoardFile() = default;

} // namespace views
} // namespace kd_app
