#include "ccontainersettingsformwidget.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "models/cloginmanager.h"
#include "ui_ccontainersettingsformwidget.h"
#include "views/settings/csettingsform.h"

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

    m_pSettingForm = new CSettingsForm(this);
    // Only a guest has a SIP account of its own to edit.
    m_pSettingForm->setSipPageVisible(models::CLoginManager::getInstance().getLoginStatus() ==
                                      enums::AnonymousLoggedIn);
    ui->m_pWidgetMain->layout()->addWidget(m_pSettingForm);

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
    if (m_pSettingForm) {
        m_pSettingForm->selectPage(page);
    }
}

void CContainerSettingsFormWidget::onDpiChanged()
{
    KD_LOG << "scale:" << m_fStretchFactor;
    setStyleSheet(QString());
    if (m_pSettingForm) {
        m_pSettingForm->updateDpi(m_fStretchFactor);
    }
    setStyleSheetByScale(STYLE_BASE);
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
}

} // namespace views
} // namespace kd_app
