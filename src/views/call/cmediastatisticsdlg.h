#pragma once

#include <memory>

#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"

class QTimer;

namespace Ui {
class CMediaStatisticsDlg;
}

namespace kd_app {
namespace views {

// The call's media statistics: one row per stream with codec, rates,
// resolution, frame rate, packet loss and encryption, fetched from the
// engine and refreshed every five seconds while the window is shown.
class CMediaStatisticsDlg : public CBaseDlg
{
    Q_OBJECT

public:
    static constexpr int REFRESH_INTERVAL_MS = 5000;

    explicit CMediaStatisticsDlg(QWidget *parent);
    ~CMediaStatisticsDlg() override;

signals:
    void sigClose();

public slots:
    void slotOnClose();
    void slotOnTimerRefreshStatisticsStats();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void onDpiChanged() override;

private:
    void initTableHeader();
    void startRefreshStatisticsStatsTimer();
    void stopRefreshStatisticsStatsTimer();
    double headerScale() const;

    std::unique_ptr<Ui::CMediaStatisticsDlg> ui;
    std::unique_ptr<QTimer> m_pRefreshTimer;
    CDpiScaler m_dpiScaler;
};

} // namespace views
} // namespace kd_app
