#include "cwebreportdatatablewidget.h"

#include <algorithm>

#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

using namespace kd::engine;

namespace {

const QColor kGood(QStringLiteral("#1ac869"));
const QColor kBad(QStringLiteral("#ff7474"));
const QColor kHead(QStringLiteral("#919191"));

// Positions of the diagnosis tree that the report reads.
constexpr int kLoginItem = 0;
constexpr int kRegistrationItem = 2;
constexpr int kDurationText = 2;
constexpr int kDownload = 0;
constexpr int kUpload = 1;
constexpr int kQuality = 0;
constexpr int kPacketLoss = 1;
constexpr int kJitter = 2;

struct CMediumLabels
{
    const char *quality;
    const char *downloadLoss;
    const char *uploadLoss;
    const char *downloadJitter;
    const char *uploadJitter;
    const char *delay;
};

// Audio, video and content, in the order of the call's streams.
const CMediumLabels kMediumLabels[3] = {
    {QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Audio)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Audio download packet lost)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Audio upload packet lost)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Audio download jitter)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Audio upload jitter)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Audio delay)")},
    {QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Video)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Video download packet lost)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Video upload packet lost)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Video download jitter)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Video upload jitter)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Video delay)")},
    {QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Content)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Content download packet lost)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Content upload packet lost)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Content download jitter)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Content upload jitter)"),
     QT_TRANSLATE_NOOP("CWebreportDataTableWidget", "Network quality(Content delay)")},
};

QString text(const std::string &value)
{
    return QString::fromUtf8(value.data(), int(value.size()));
}

void setupTable(QTableWidget *table, int columns)
{
    table->setColumnCount(columns);
    table->setShowGrid(false);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFocusPolicy(Qt::NoFocus);
    table->setFrameShape(QFrame::NoFrame);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setVisible(false);
}

// The status column holds the longest status ("Register failed") whole.
void resizeTable(QTableWidget *table, double scale, int statusColumn, int rowHeight)
{
    if (!table || scale == 0.0) {
        return;
    }
    table->setColumnWidth(statusColumn, int(130 * scale));
    // Rows come and go with each report: those added later get the height too.
    table->verticalHeader()->setDefaultSectionSize(int(rowHeight * scale));
    for (int row = 0; row < table->rowCount(); ++row) {
        table->setRowHeight(row, int(rowHeight * scale));
    }
}

} // namespace

CWebreportDataTableWidget *CWebreportDataTableWidget::instance()
{
    static CWebreportDataTableWidget shared;
    return &shared;
}

// ---- status cells ---------------------------------------------------------

QTableWidgetItem *CWebreportDataTableWidget::statusItem(int status, Row row)
{
    QString word;
    switch (status) {
    case 1:
        word = tr("Normal");
        break;
    case 2:
        word = tr("Available");
        break;
    case 3:
        word = tr("Poor");
        break;
    case 4:
        word = row == Row::Login ? tr("Timeout") : tr("Unreachable");
        break;
    case 5:
        switch (row) {
        case Row::Login:
            word = tr("Login failed");
            break;
        case Row::Registration:
            word = tr("Register failed");
            break;
        case Row::Call:
            word = tr("Call failed");
            break;
        case Row::Generic:
            word = tr("Failed");
            break;
        }
        break;
    default:
        break;
    }
    const bool usable = status == 1 || status == 2;
    auto *item = new QTableWidgetItem(word);
    item->setData(Qt::UserRole, usable ? 1 : 0);
    item->setForeground(QBrush(usable ? kGood : kBad));
    return item;
}

QTableWidgetItem *CWebreportDataTableWidget::makeSingleStatusItem(int status)
{
    return statusItem(status, Row::Generic);
}

QTableWidgetItem *CWebreportDataTableWidget::makeLoginStatusItem(int status)
{
    return statusItem(status, Row::Login);
}

QTableWidgetItem *CWebreportDataTableWidget::makeRegisterStatusItem(int status)
{
    return statusItem(status, Row::Registration);
}

QTableWidgetItem *CWebreportDataTableWidget::makeCallStatusItem(int status)
{
    return statusItem(status, Row::Call);
}

QTableWidgetItem *CWebreportDataTableWidget::makeMaxStatusItem(int first, int second)
{
    return statusItem(std::max(first, second), Row::Generic);
}

QTableWidgetItem *CWebreportDataTableWidget::makeStatusItem(int first, int second)
{
    if (first != 0 && second != 0) {
        return statusItem(std::max(first, second), Row::Generic);
    }
    return statusItem(first != 0 ? first : second, Row::Generic);
}

// ---- text cells -----------------------------------------------------------

QLabel *CWebreportDataTableWidget::makeColumnLabel(const QString &text, bool isHead)
{
    auto *label = new QLabel(text);
    label->setObjectName(isHead ? QStringLiteral("ColumnHead0") : QStringLiteral("Column0"));
    return label;
}

QTableWidgetItem *CWebreportDataTableWidget::makePairTextItem(int hasFirst, int hasSecond, const std::string &first,
                                                              const std::string &second)
{
    if (hasFirst != 0 && hasSecond != 0) {
        return makeJoinedTextItem(first, second);
    }
    if (hasFirst != 0) {
        return new QTableWidgetItem(text(first));
    }
    return new QTableWidgetItem(hasSecond != 0 ? text(second) : QString());
}

QTableWidgetItem *CWebreportDataTableWidget::makeJoinedTextItem(const std::string &first, const std::string &second)
{
    return new QTableWidgetItem(text(first) + QStringLiteral("<>") + text(second));
}

QTableWidgetItem *CWebreportDataTableWidget::makeDurationItem(const std::string &callText, const std::string &duration)
{
    return new QTableWidgetItem(tr("Duration") + QLatin1Char(' ') + text(duration) + QLatin1Char(' ') + text(callText));
}

QTableWidgetItem *CWebreportDataTableWidget::labelledItem(const QString &label, const std::string &value)
{
    return new QTableWidgetItem(label + QLatin1Char(' ') + text(value));
}

QTableWidgetItem *CWebreportDataTableWidget::makeDelayItem(const std::string &value)
{
    return labelledItem(tr("Delay"), value);
}

QTableWidgetItem *CWebreportDataTableWidget::makeDownloadJitterItem(const std::string &value)
{
    return labelledItem(tr("Download jitter"), value);
}

QTableWidgetItem *CWebreportDataTableWidget::makeUploadJitterItem(const std::string &value)
{
    return labelledItem(tr("Upload jitter"), value);
}

QTableWidgetItem *CWebreportDataTableWidget::makeDownloadLossItem(const std::string &value)
{
    return labelledItem(tr("Download packet lost"), value);
}

QTableWidgetItem *CWebreportDataTableWidget::makeUploadLossItem(const std::string &value)
{
    return labelledItem(tr("Upload packet lost"), value);
}

// ---- summary --------------------------------------------------------------

void CWebreportDataTableWidget::initSummaryTable(QTableWidget *table)
{
    if (!table) {
        return;
    }
    setupTable(table, 2);
}

void CWebreportDataTableWidget::updateSummaryTableDpi(QTableWidget *table, double scale)
{
    resizeTable(table, scale, 1, 36);
    if (table && scale > 0.0) {
        // Room for every row a report can have (seven, in a call with
        // content), so that the page never scrolls a short list at any scale.
        table->setMinimumHeight(int(7 * 36 * scale) + 2 * table->frameWidth());
    }
}

void CWebreportDataTableWidget::addSummaryRow(QTableWidget *table, const QString &label, QTableWidgetItem *status,
                                              bool *allNormal)
{
    *allNormal = *allNormal && status->data(Qt::UserRole).toBool();
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, new QTableWidgetItem(label));
    table->setItem(row, 1, status);
}

void CWebreportDataTableWidget::fillSummaryTable(QTableWidget *table, KDDiag diag, int *page, bool *noCall,
                                                 bool *allNormal)
{
    *allNormal = true;
    if (!table) {
        return;
    }
    table->clearContents();
    table->setRowCount(0);
    const KDDiagItem &login = diag.items[kLoginItem];
    const KDDiagItem &registration = diag.items[kRegistrationItem];
    const KDDiagCall &call = diag.call;
    if (login.status == 0) {
        *page = 0;
    } else {
        *page = 1;
        addSummaryRow(table, tr("Login service connection status"), makeLoginStatusItem(login.status), allNormal);
        if (registration.status != 0) {
            addSummaryRow(table, tr("Registration service connection status"),
                          makeRegisterStatusItem(registration.status), allNormal);
        }
        if (call.item.status == 0) {
            *noCall = true;
        } else {
            *noCall = false;
            addSummaryRow(table, tr("Call status"), makeCallStatusItem(call.item.status), allNormal);
            const int download = call.roles[kDownload].item.status;
            const int upload = call.roles[kUpload].item.status;
            if (download != 0 && upload != 0) {
                addSummaryRow(table, tr("Call rate"), makeMaxStatusItem(download, upload), allNormal);
            }
            for (int medium = 0; medium < 2; ++medium) {
                const KDDiagStream &stream = call.streams[medium];
                const int down = stream.media[kDownload].items[kQuality].status;
                const int up = stream.media[kUpload].items[kQuality].status;
                if (down != 0 && up != 0) {
                    addSummaryRow(table, tr(kMediumLabels[medium].quality), makeMaxStatusItem(down, up), allNormal);
                }
            }
            const KDDiagStream &content = call.streams[2];
            const int down = content.media[kDownload].items[kQuality].status;
            const int up = content.media[kUpload].items[kQuality].status;
            if (down != 0 || up != 0) {
                addSummaryRow(table, tr(kMediumLabels[2].quality), makeStatusItem(down, up), allNormal);
            }
        }
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
}

// ---- details --------------------------------------------------------------

void CWebreportDataTableWidget::initDetailsTable(QTableWidget *table)
{
    if (!table) {
        return;
    }
    setupTable(table, 3);
    table->setAlternatingRowColors(true);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table->setWordWrap(true);
}

void CWebreportDataTableWidget::updateDetailsTableDpi(QTableWidget *table, double scale)
{
    resizeTable(table, scale, 2, 40);
}

void CWebreportDataTableWidget::addDetailsRow(QTableWidget *table, const QString &label, QTableWidgetItem *details,
                                              QTableWidgetItem *status)
{
    const int row = table->rowCount();
    table->insertRow(row);
    table->setCellWidget(row, 0, makeColumnLabel(label, false));
    table->setItem(row, 1, details);
    table->setItem(row, 2, status);
}

void CWebreportDataTableWidget::fillDetailsTable(QTableWidget *table, KDDiag diag)
{
    if (!table) {
        return;
    }
    table->clear();
    table->setRowCount(0);
    table->insertRow(0);
    table->setCellWidget(0, 0, makeColumnLabel(tr("Network status"), true));
    for (int column = 1; column < 3; ++column) {
        auto *head = new QTableWidgetItem(column == 1 ? tr("Details") : tr("Status"));
        head->setForeground(QBrush(kHead));
        table->setItem(0, column, head);
    }
    const KDDiagItem &login = diag.items[kLoginItem];
    const KDDiagItem &registration = diag.items[kRegistrationItem];
    if (login.status == 0) {
        return;
    }
    addDetailsRow(table, tr("Login service connection status"),
                  new QTableWidgetItem(tr("Service address") + QLatin1Char(' ') + text(login.name)),
                  makeLoginStatusItem(login.status));
    if (registration.status != 0) {
        addDetailsRow(table, tr("Registration service connection status"),
                      new QTableWidgetItem(tr("Service address") + QLatin1Char(' ') + text(registration.name)),
                      makeRegisterStatusItem(registration.status));
    }
    const KDDiagCall &call = diag.call;
    if (call.item.status == 0) {
        return;
    }
    addDetailsRow(table, tr("Call status"), makeDurationItem(call.item.name, call.texts[kDurationText]),
                  makeCallStatusItem(call.item.status));
    const KDDiagItem &downloadRate = call.roles[kDownload].item;
    const KDDiagItem &uploadRate = call.roles[kUpload].item;
    if (downloadRate.status != 0) {
        addDetailsRow(table, tr("Call rate(Download)"), labelledItem(tr("Download"), downloadRate.name),
                      makeSingleStatusItem(downloadRate.status));
    }
    if (uploadRate.status != 0) {
        addDetailsRow(table, tr("Call rate(Upload)"), labelledItem(tr("Upload"), uploadRate.name),
                      makeSingleStatusItem(uploadRate.status));
    }
    for (int medium = 0; medium < 3; ++medium) {
        const KDDiagStream &stream = call.streams[medium];
        const KDDiagMedia &down = stream.media[kDownload];
        const KDDiagMedia &up = stream.media[kUpload];
        const int downQuality = down.items[kQuality].status;
        const int upQuality = up.items[kQuality].status;
        const CMediumLabels &labels = kMediumLabels[medium];
        // Audio and video need both directions; content, which may go one
        // way only, needs either.
        if (medium < 2) {
            if (downQuality == 0 || upQuality == 0) {
                continue;
            }
            addDetailsRow(table, tr(labels.quality), makeJoinedTextItem(down.texts[0], up.texts[0]),
                          makeMaxStatusItem(downQuality, upQuality));
        } else {
            if (downQuality == 0 && upQuality == 0) {
                continue;
            }
            addDetailsRow(table, tr(labels.quality),
                          makePairTextItem(downQuality, upQuality, down.texts[0], up.texts[0]),
                          makeStatusItem(downQuality, upQuality));
        }
        const struct
        {
            const KDDiagItem &item;
            const char *label;
            QTableWidgetItem *(CWebreportDataTableWidget::*details)(const std::string &);
        } rows[] = {
            {down.items[kPacketLoss], labels.downloadLoss, &CWebreportDataTableWidget::makeDownloadLossItem},
            {up.items[kPacketLoss], labels.uploadLoss, &CWebreportDataTableWidget::makeUploadLossItem},
            {down.items[kJitter], labels.downloadJitter, &CWebreportDataTableWidget::makeDownloadJitterItem},
            {up.items[kJitter], labels.uploadJitter, &CWebreportDataTableWidget::makeUploadJitterItem},
            {stream.item, labels.delay, &CWebreportDataTableWidget::makeDelayItem},
        };
        for (const auto &row : rows) {
            if (row.item.status != 0) {
                addDetailsRow(table, tr(row.label), (this->*row.details)(row.item.name),
                              makeSingleStatusItem(row.item.status));
            }
        }
    }
}
