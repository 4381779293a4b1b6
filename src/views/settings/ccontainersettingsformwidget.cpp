#include "ccontainersettingsformwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

namespace {

constexpr int DESIGN_WIDTH = 480;
constexpr int DESIGN_HEIGHT = 320;
constexpr int TITLE_HEIGHT = 36;

} // namespace

CContainerSettingsFormWidget::CContainerSettingsFormWidget(QWidget *parent) : CBaseWgt(parent)
{
    setObjectName("CContainerSettingsFormWidget");
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("#CContainerSettingsFormWidget { background: #ffffff; border: 1px solid #555555; }");
    resize(DESIGN_WIDTH, DESIGN_HEIGHT);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(0);

    auto *titleBar = new QWidget(this);
    titleBar->setFixedHeight(TITLE_HEIGHT);
    auto *titleRow = new QHBoxLayout(titleBar);
    titleRow->setContentsMargins(12, 0, 8, 0);
    m_pLblTitle = new QLabel(tr("Settings"), titleBar);
    m_pLblTitle->setObjectName("m_pLblTitle");
    m_pBtnClose = new QPushButton(tr("Close"), titleBar);
    m_pBtnClose->setObjectName("m_pBtnClose");
    m_pBtnClose->setAutoDefault(false);
    titleRow->addWidget(m_pLblTitle);
    titleRow->addStretch();
    titleRow->addWidget(m_pBtnClose);
    outer->addWidget(titleBar);

    // The settings pages are not part of this program yet: say so rather
    // than show controls that change nothing.
    m_pLblBody = new QLabel(tr("There are no settings to change in this version."), this);
    m_pLblBody->setObjectName("m_pLblBody");
    m_pLblBody->setAlignment(Qt::AlignCenter);
    m_pLblBody->setWordWrap(true);
    outer->addWidget(m_pLblBody, 1);

    connect(m_pBtnClose, &QPushButton::clicked, this, &CContainerSettingsFormWidget::slotOnBtnClose);
}

CContainerSettingsFormWidget::~CContainerSettingsFormWidget() = default;

void CContainerSettingsFormWidget::slotOnBtnClose()
{
    KD_LOG << "close";
    emit closeWindow();
    close();
}

} // namespace views
} // namespace kd_app
