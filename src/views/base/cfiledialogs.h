#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace kd_app {
namespace views {

// The program's file choosers. Where the desktop offers a dialog of its own
// it is used as it is; Qt's own dialog opens at a fixed size that does not
// follow the display scale while the windows' style sheets scale its text,
// so it is given the size of the window's scale here.
class CFileDialogs
{
public:
    CFileDialogs() = delete;

    // An existing file, or an empty text when the user cancels.
    static QString openFileName(QWidget *parent, const QString &caption, const QString &directory,
                                const QString &filter);
    // A file to write; the dialog asks before replacing one.
    static QString saveFileName(QWidget *parent, const QString &caption, const QString &proposal,
                                const QString &filter);

    // Qt's own dialog at a display-scale factor.
    static QSize sizeForScale(double factor);
};

} // namespace views
} // namespace kd_app
