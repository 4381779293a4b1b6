#include "cfiledialogs.h"

#include <QFileDialog>
#include <QScreen>

#include "views/base/cdisplayscale.h"

namespace kd_app {
namespace views {

namespace {

// Room for a long file name and the columns beside it at scale 1.
constexpr int kWidth = 640;
constexpr int kHeight = 420;

QString run(QWidget *parent, const QString &caption, const QString &path, const QString &filter,
            QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, caption, path, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QScreen *screen = CDisplayScale::screenAtCenterOf(parent);
    const double factor = screen ? CDisplayScale::factorForDpi(unsigned(screen->logicalDotsPerInch())) : 1.0;
    QSize size = CFileDialogs::sizeForScale(factor);
    if (screen) {
        size = size.boundedTo(screen->availableSize());
    }
    dialog.resize(size.expandedTo(dialog.minimumSizeHint()));
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return dialog.selectedFiles().value(0);
}

} // namespace

QString CFileDialogs::openFileName(QWidget *parent, const QString &caption, const QString &directory,
                                   const QString &filter)
{
    return run(parent, caption, directory, filter, QFileDialog::AcceptOpen);
}

QString CFileDialogs::saveFileName(QWidget *parent, const QString &caption, const QString &proposal,
                                   const QString &filter)
{
    return run(parent, caption, proposal, filter, QFileDialog::AcceptSave);
}

QSize CFileDialogs::sizeForScale(double factor)
{
    const double scale = factor > 0 ? factor : 1.0;
    return QSize(int(kWidth * scale), int(kHeight * scale));
}

} // namespace views
} // namespace kd_app
