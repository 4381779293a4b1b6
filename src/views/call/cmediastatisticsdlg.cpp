#include "cmediastatisticsdlg.h"

#include <algorithm>

#include <QCloseEvent>
#include <QHeaderView>
#include <QTimer>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"
#include "ui_cmediastatisticsdlg.h"
#include "views/call/cmediastatisticsformat.h"

namespace kd_app {
namespace views {

namespace {

const int COLUMN_WIDTHS[] = {141, 162, 88, 134, 87, 102, 127};
constexpr int STRETCHED_COLUMN = 7;

} // namespace

CMediaStatisticsDlg::CMediaStatisticsDlg(QWidget *parent)
    : CBaseDlg(parent), ui(std::make_unique<Ui::CMediaStatisticsDlg>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    m_nTitleHeight = ui->m_pWgtTitleBar->height();
    helpers::CGeneralUtils::setStyle(this, QStringLiteral(":/resources/qss/media-statistics-dlg.qss"));

    QTableWidget *table = ui->m_pTableWgtStatistics;
    table->setColumnCount(CMediaStatisticsFormat::COLUMNS);
    table->setShowGrid(false);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFocusPolicy(Qt::NoFocus);
    table->setFrameShape(QFrame::NoFrame);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setSectionResizeMode(STRETCHED_COLUMN, QHeaderView::Stretch);
    initTableHeader();
    slotOnTimerRefreshStatisticsStats();

    connect(ui->m_pBtnClose, &QPushButton::clicked, this, &CMediaStatisticsDlg::slotOnClose);
}

CMediaStatisticsDlg::~CMediaStatisticsDlg() = default;

double CMediaStatisticsDlg::headerScale() const
{
    return std::max(1.0, m_fStretchFactor);
}

void CMediaStatisticsDlg::initTableHeader()
{
    const double s = headerScale();
    QTableWidget *table = ui->m_pTableWgtStatistics;
    table->clear();
    table->setHorizontalHeaderLabels({tr("Media Direction"), tr("Codec"), tr("Line Rate\n(kbps)"),
                                      tr("Actual Line Rate\n(kbps)"), tr("Resolution"), tr("Frame Rate\n(fps)"),
                                      tr("Packet Lost Rate"), tr("Encryption")});
    QFont font = table->horizontalHeaderItem(0)->font();
    font.setPixelSize(int(13 * s));
    font.setWeight(QFont::Bold);
    for (int column = 0; column < CMediaStatisticsFormat::COLUMNS; ++column) {
        QTableWidgetItem *header = table->horizontalHeaderItem(column);
        header->setFont(font);
        header->setTextAlignment(column == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        if (column < STRETCHED_COLUMN) {
            table->setColumnWidth(column, int(COLUMN_WIDTHS[column] * s));
        }
    }
}

void CMediaStatisticsDlg::slotOnTimerRefreshStatisticsStats()
{
    kd::engine::KDStats stats;
    models::CKDSdkManager *sdk = models::CKDSdkManager::getInstance();
    if (!sdk || !isVisible() || !sdk->getStats(stats)) {
        return;
    }
    const int count = CMediaStatisticsFormat::streamCount(stats);
    QTableWidget *table = ui->m_pTableWgtStatistics;
    table->clearContents();
    table->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        const QStringList cells = CMediaStatisticsFormat::cells(stats.streams[row]);
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(column == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
        table->setRowHeight(row, int(36 * std::max(1.0, m_fStretchFactor)));
    }
    table->horizontalHeader()->setSectionResizeMode(STRETCHED_COLUMN, QHeaderView::Stretch);
    // setFixedHeight lifts the form's maximum too: twelve rows need more than it.
    setFixedHeight(CMediaStatisticsFormat::dialogHeight(count, m_fStretchFactor, ui->m_pWgtTitleBar->height()));
}

void CMediaStatisticsDlg::startRefreshStatisticsStatsTimer()
{
    if (!m_pRefreshTimer) {
        m_pRefreshTimer = std::make_unique<QTimer>();
        m_pRefreshTimer->setInterval(REFRESH_INTERVAL_MS);
        connect(m_pRefreshTimer.get(), &QTimer::timeout, this, &CMediaStatisticsDlg::slotOnTimerRefreshStatisticsStats);
    }
    m_pRefreshTimer->start();
}

void CMediaStatisticsDlg::stopRefreshStatisticsStatsTimer()
{
    if (m_pRefreshTimer) {
        m_pRefreshTimer->stop();
        m_pRefreshTimer.reset();
    }
}

void CMediaStatisticsDlg::slotOnClose()
{
    KD_LOG << "close";
    hide();
}

void CMediaStatisticsDlg::showEvent(QShowEvent *event)
{
    slotOnTimerRefreshStatisticsStats();
    startRefreshStatisticsStatsTimer();
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
}

void CMediaStatisticsDlg::hideEvent(QHideEvent *event)
{
    stopRefreshStatisticsStatsTimer();
    CBaseDlg::hideEvent(event);
    ui->m_pTableWgtStatistics->clearContents();
}

void CMediaStatisticsDlg::closeEvent(QCloseEvent *event)
{
    stopRefreshStatisticsStatsTimer();
    emit sigClose();
    event->accept();
}

void CMediaStatisticsDlg::onDpiChanged()
{
    CBaseDlg::onDpiChanged();
    const double scale = m_fStretchFactor;
    m_dpiScaler.scaleWindow(scale, this);
    m_nTitleHeight = ui->m_pWgtTitleBar->height();
    QFont title = ui->m_pLblTitle->font();
    title.setPixelSize(int(12 * scale));
    ui->m_pLblTitle->setFont(title);
    ui->m_pTableWgtStatistics->setStyleSheet(
        QString("QTableWidget { color: #000000; font-size: %1px; background: #f4f4f4; "
                "alternate-background-color: #ffffff; border: none; } QTableWidget::item { outline: 0px; } "
                "QHeaderView::section { background-color: #ffffff; min-height: %2px; max-height: %2px; "
                "border: none; }")
            .arg(QString::number(13 * scale), QString::number(36 * scale)));
    for (int row = 0; row < ui->m_pTableWgtStatistics->rowCount(); ++row) {
        ui->m_pTableWgtStatistics->setRowHeight(row, int(36 * scale));
    }
    initTableHeader();
    slotOnTimerRefreshStatisticsStats();
    centerWindowOnScreen();
}

} // namespace views
} // namespace kd_app
