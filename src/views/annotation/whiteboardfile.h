#pragma once

#include <QObject>
#include <QString>

namespace kd_app {
namespace views {

// Companion of the annotation canvas: makes sure the folder "Paint" in the
// application folder exists.
class WhiteBoardFile : public QObject
{
    Q_OBJECT

public:
    explicit WhiteBoardFile(QObject *parent = nullptr);
    ~WhiteBoardFile() override;

    QString folderPath() const { return m_qstrFolderPath; }

private:
    QString m_qstrFolderPath;
};

} // namespace views
} // namespace kd_app
