#pragma once

#include <memory>

#include "views/base/cdraggablewgt.h"

class QLabel;
class QProgressBar;

namespace Ui {
class CUpdateMessageWidget;
}

namespace kd_app {
namespace views {

// The small "Software Update" window through which the user answers the
// upgrade offer: offer (Cancel, Download), downloading (progress and speed,
// Cancel), ready (No, Yes) and failed (Cancel, Download). It holds no
// upgrade logic: every button only emits its signal, and the upgrade thread
// drives the states. It deletes itself when closed.
class CUpdateMessageWidget : public CDraggableWgt
{
    Q_OBJECT

public:
    explicit CUpdateMessageWidget(QWidget *parent = nullptr);
    ~CUpdateMessageWidget() override;

    // The offer; the text goes only into an empty offer line, so a window
    // that failed once keeps saying so.
    void showUpdateMessage(const QString &text);
    void updateProgress(qint64 bytesReceived, qint64 bytesTotal, int time);
    // A failure may say why, on a line below "download failed".
    void downfinish(bool succeed, const QString &reason = QString());

signals:
    void signal_DownLoad();
    void signal_Cancel();
    void signal_Yes();
    void signal_No();

public slots:
    void on_m_pBtnNo_clicked();
    void on_m_pBtnYes_clicked();
    void on_m_pBtnCancel_clicked();
    void on_m_pBtnDown_clicked();

protected:
    void onDpiChanged() override;

private:
    void initUi();
    void showButtons(bool offer);

    std::unique_ptr<Ui::CUpdateMessageWidget> ui;
    QLabel *m_versionText = nullptr;
    QLabel *m_downStatus = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QLabel *m_downValue = nullptr;
};

} // namespace views
} // namespace kd_app
