#include "cupdatemessagewidget.h"

#include <QLabel>
#include <QProgressBar>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "ui_cupdatemessagewidget.h"
#include "views/upgrade/cupdateprogress.h"

namespace kd_app {
namespace views {

namespace {

constexpr int kProgressBarHeight = 6;
constexpr int kButtonFontPx = 12;
constexpr int kTextFontPx = 14;
const char kStyleSheet[] = ":/resources/qss/update-message-widget.qss";

} // namespace

CUpdateMessageWidget::CUpdateMessageWidget(QWidget *parent)
    : CDraggableWgt(parent), ui(std::make_unique<Ui::CUpdateMessageWidget>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    initUi();
}

CUpdateMessageWidget::~CUpdateMessageWidget()
{
    KD_LOG;
}

void CUpdateMessageWidget::initUi()
{
    m_versionText = new QLabel(ui->widgettips);
    m_versionText->setObjectName(QStringLiteral("m_versionText"));
    m_downStatus = new QLabel(ui->widgettips);
    m_downStatus->setObjectName(QStringLiteral("m_downStatus"));
    m_progressBar = new QProgressBar(ui->widgettips);
    m_progressBar->setObjectName(QStringLiteral("m_progressBar"));
    m_progressBar->setFixedHeight(kProgressBarHeight);
    m_progressBar->setFormat(QString());
    m_progressBar->setTextVisible(false);
    m_downValue = new QLabel(ui->widgettips);
    m_downValue->setObjectName(QStringLiteral("m_downValue"));
    // The offer names the server's version: shown as it is, never laid out.
    for (QLabel *label : {m_versionText, m_downStatus, m_downValue}) {
        label->setTextFormat(Qt::PlainText);
    }
    m_versionText->setWordWrap(true);
    ui->verticalLayout_2->addWidget(m_versionText);
    ui->verticalLayout_2->addWidget(m_downStatus);
    ui->verticalLayout_2->addWidget(m_progressBar);
    ui->verticalLayout_2->addWidget(m_downValue);
    setDragTitleBar(ui->Titlebar);
    helpers::CGeneralUtils::setStyle(this, QLatin1String(kStyleSheet));
}

void CUpdateMessageWidget::showButtons(bool offer)
{
    ui->m_pBtnNo->setVisible(!offer);
    ui->m_pBtnYes->setVisible(!offer);
    ui->m_pBtnDown->setVisible(offer);
}

void CUpdateMessageWidget::showUpdateMessage(const QString &text)
{
    KD_LOG << "text:" << text;
    if (m_versionText->text().isEmpty()) {
        m_versionText->setText(text);
    }
    m_versionText->show();
    m_downStatus->hide();
    m_progressBar->hide();
    m_downValue->hide();
    showButtons(true);
    ui->m_pBtnCancel->show();
    show();
}

void CUpdateMessageWidget::updateProgress(qint64 bytesReceived, qint64 bytesTotal, int time)
{
    const CUpdateProgress::Bar bar = CUpdateProgress::bar(bytesReceived, bytesTotal);
    m_progressBar->setRange(0, bar.maximum);
    m_progressBar->setValue(bar.value);
    m_downValue->setText(CUpdateProgress::speedText(bytesReceived, time));
}

void CUpdateMessageWidget::downfinish(bool succeed, const QString &reason)
{
    KD_LOG << "succeed:" << succeed << "reason:" << reason;
    if (succeed) {
        m_downStatus->setText(tr("Do you want to install the latest software?"));
        m_downStatus->show();
        m_progressBar->setRange(0, 100);
        m_progressBar->setValue(100);
        m_downValue->setText(QString());
        showButtons(false);
        ui->m_pBtnCancel->hide();
        return;
    }
    m_versionText->setText(reason.isEmpty() ? tr("download failed")
                                            : tr("download failed") + QLatin1Char('\n') + reason);
    m_versionText->show();
    m_downStatus->hide();
    m_progressBar->hide();
    m_downValue->hide();
    showButtons(true);
    ui->m_pBtnCancel->show();
}

void CUpdateMessageWidget::on_m_pBtnNo_clicked()
{
    emit signal_No();
}

void CUpdateMessageWidget::on_m_pBtnYes_clicked()
{
    KD_LOG;
    emit signal_Yes();
}

void CUpdateMessageWidget::on_m_pBtnCancel_clicked()
{
    KD_LOG;
    emit signal_Cancel();
}

void CUpdateMessageWidget::on_m_pBtnDown_clicked()
{
    KD_LOG;
    emit signal_DownLoad();
    m_versionText->hide();
    m_downStatus->setText(tr("Downloading the latest software"));
    m_downStatus->show();
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->show();
    m_downValue->setText(QStringLiteral("0.0/0.0"));
    m_downValue->show();
    ui->m_pBtnNo->hide();
    ui->m_pBtnYes->hide();
    ui->m_pBtnDown->hide();
    ui->m_pBtnCancel->show();
}

void CUpdateMessageWidget::onDpiChanged()
{
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
    QFont small = ui->titleName->font();
    small.setPixelSize(int(m_fStretchFactor * kButtonFontPx));
    for (QWidget *widget : {static_cast<QWidget *>(ui->titleName), static_cast<QWidget *>(ui->m_pBtnNo),
                            static_cast<QWidget *>(ui->m_pBtnYes), static_cast<QWidget *>(ui->m_pBtnCancel),
                            static_cast<QWidget *>(ui->m_pBtnDown)}) {
        widget->setFont(small);
    }
    QFont text = m_versionText->font();
    text.setPixelSize(int(m_fStretchFactor * kTextFontPx));
    for (QLabel *label : {m_versionText, m_downStatus, m_downValue}) {
        label->setFont(text);
    }
}

} // namespace views
} // namespace kd_app
