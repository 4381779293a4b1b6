#include "ccontainersettingsformwidget.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "ui_ccontainersettingsformwidget.h"

namespace kd_app {
namespace views {

namespace {

const char STYLE_BASE[] = ":/resources/qss/container-settings-form-widget";

} // namespace

CContainerSettingsFormWidget::CContainerSettingsFormWidget(QWidget *parent)
    : CDraggableWgt(parent), ui(std::make_unique<Ui::CContainerSettingsFormWidget>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setDragTitleBar(ui->Titlebar);

    m_pLblNoPages = new QLabel(tr("There are no settings to change in this version."), ui->m_pWidgetMain);
    m_pLblNoPages->setObjectName("m_pLblNoPages");
    m_pLblNoPages->setAlignment(Qt::AlignCenter);
    m_pLblNoPages->setWordWrap(true);
    ui->m_pWidgetMain->layout()->addWidget(m_pLblNoPages);

    connect(ui->m_pBtnClose, &QPushButton::clicked, this, &CContainerSettingsFormWidget::closeTheWindow);
}

CContainerSettingsFormWidget::~CContainerSettingsFormWidget() = default;

QWidget *CContainerSettingsFormWidget::titleBar() const
{
    return ui->Titlebar;
}

void CContainerSettingsFormWidget::closeTheWindow()
{
    KD_LOG << "close";
    emit closeWindow();
    close();
}

void CContainerSettingsFormWidget::centerWindow()
{
    CDraggableWgt::centerWindow();
}

void CContainerSettingsFormWidget::setCurrentPage(int page)
{
    KD_LOG << "page:" << page;
    if (!m_pSettingForm) {
        return;
    }
}

void CContainerSettingsFormWidget::onDpiChanged()
{
    KD_LOG << "scale:" << m_fStretchFactor;
    setStyleSheet(QString());
    setStyleSheetByScale(STYLE_BASE);
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
}

} // namespace views
} // namespace kd_app
