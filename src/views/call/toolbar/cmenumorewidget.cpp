#include "cmenumorewidget.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"

namespace kd_app {
namespace views {

namespace {

constexpr int ENTRY_MIN_WIDTH = 130;
constexpr int ENTRY_HEIGHT = 24;

} // namespace

CMenuMoreWidget::CMenuMoreWidget(QWidget *parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    setObjectName("CMenuMoreWidget");
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_StyledBackground);
    setWindowFlags(windowFlags() | Qt::SubWindow | Qt::FramelessWindowHint);
    helpers::CGeneralUtils::setStyle(this, ":/resources/qss/menu-more-widget.qss");
    m_vLayout = new QVBoxLayout(this);
    m_vLayout->setObjectName("m_vLayout");
    m_vLayout->setSpacing(6);
    m_vLayout->setContentsMargins(0, 6, 0, 6);
}

CMenuMoreWidget::~CMenuMoreWidget() = default;

void CMenuMoreWidget::setRequestSpeakEnabled(bool enabled)
{
    KD_LOG << "enabled:" << enabled;
    m_bRequestSpeakEnabled = enabled;
    if (m_requestSpeak) {
        m_vLayout->removeWidget(m_requestSpeak);
        delete m_requestSpeak;
        m_requestSpeak = nullptr;
    }
    if (enabled) {
        m_requestSpeak = new QPushButton(tr("Speech Request"), this);
        m_requestSpeak->setObjectName("m_requestSpeak");
        m_requestSpeak->setMinimumWidth(ENTRY_MIN_WIDTH);
        m_requestSpeak->setFixedHeight(ENTRY_HEIGHT);
        m_requestSpeak->setCursor(Qt::PointingHandCursor);
        m_requestSpeak->setAutoDefault(false);
        m_vLayout->addWidget(m_requestSpeak);
        connect(m_requestSpeak, &QPushButton::clicked, this, &CMenuMoreWidget::slot_clicked_requestSpeak);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setMinimumWidth(ENTRY_MIN_WIDTH);
    adjustSize();
}

void CMenuMoreWidget::slot_clicked_requestSpeak()
{
    models::CKDSdkManager::getInstance()->requestRemoteUnmute(true);
    // The toolbar relays this to the layout engine, which shows a prompt;
    // queued, so the prompt comes after this click has been handled.
    QMetaObject::invokeMethod(this, &CMenuMoreWidget::signal_clicked_requestSpeak, Qt::QueuedConnection);
    hide();
}

} // namespace views
} // namespace kd_app
