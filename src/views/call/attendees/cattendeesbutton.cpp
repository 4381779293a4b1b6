#include "cattendeesbutton.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/cucmapimanager.h"
#include "views/call/attendees/cattendesswidgets.h"

using kd_app::models::CLoginManager;
using kd_app::models::CUCMApiManager;

namespace {

constexpr int BUTTON_WIDTH = 88;
constexpr int BUTTON_HEIGHT = 60;
constexpr int CAPTION_HEIGHT = 20;
constexpr int BOTTOM_GAP = 6;

} // namespace

CAttendeesButton::CAttendeesButton(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(BUTTON_WIDTH, BUTTON_HEIGHT);
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    m_pCaption = new QLabel(this);
    m_pCaption->setObjectName("m_pLblAttendees");
    m_pCaption->setFixedSize(BUTTON_WIDTH, CAPTION_HEIGHT);
    m_pCaption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    layout->addWidget(m_pCaption, 0, Qt::AlignHCenter);
    m_pBottomSpacer = new QSpacerItem(20, BOTTOM_GAP, QSizePolicy::Minimum, QSizePolicy::Fixed);
    layout->addItem(m_pBottomSpacer);
    m_icon = QPixmap(":/resources/images/layout-operationbar/icon_detail.png");
    retranslate();

    m_timer.setInterval(kPollIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CAttendeesButton::slot_timeout);
    connect(&CLoginManager::getInstance(), &CLoginManager::sigLoginTokenChanged, this,
            &CAttendeesButton::slot_tokenChanged);
    connect(CUCMApiManager::getInstance(), &CUCMApiManager::signal_getParticipants_succeed, this,
            &CAttendeesButton::slot_getParticipants_succeed);
    connect(kd_app::models::CLinguist::getInstance(), &kd_app::models::CLinguist::sigLanguageChanged, this,
            &CAttendeesButton::retranslate);
}

CAttendeesButton::~CAttendeesButton() = default;

void CAttendeesButton::retranslate()
{
    m_pCaption->setText(tr("Attendees"));
}

bool CAttendeesButton::canListParticipants()
{
    const CLoginManager &login = CLoginManager::getInstance();
    return login.getLoginUserInfo().appServerType != "CCM" && login.getLoginStatus() == kd_app::enums::LoggedIn;
}

void CAttendeesButton::startParticipantPolling()
{
    forgetParticipants();
    if (!canListParticipants()) {
        return;
    }
    KD_LOG << "start";
    kd_app::views::CAttendessWidgets::requestParticipants();
    m_timer.start();
}

void CAttendeesButton::stopParticipantPolling()
{
    forgetParticipants();
    if (!m_timer.isActive()) {
        return;
    }
    KD_LOG << "stop";
    m_timer.stop();
}

// The kept list belongs to the meeting it was asked for: another call, a
// call to one person included, must not show it.
void CAttendeesButton::forgetParticipants()
{
    CUCMApiManager::getInstance()->clearParticipantList();
    m_strCount = QStringLiteral("0");
    update();
}

void CAttendeesButton::slot_timeout()
{
    kd_app::views::CAttendessWidgets::requestParticipants();
}

void CAttendeesButton::slot_tokenChanged()
{
    // Only while a call polls: after a call the last meeting's list is no
    // longer ours to read, and the server would refuse it with an error box.
    if (!m_timer.isActive()) {
        return;
    }
    kd_app::views::CAttendessWidgets::requestParticipants();
}

void CAttendeesButton::setShowAllowed(bool allowed)
{
    m_bShowAllowed = allowed;
    if (!allowed) {
        hide();
    }
}

void CAttendeesButton::slot_getParticipants_succeed()
{
    const int count = CUCMApiManager::getInstance()->getParticipantList().size();
    if (count <= 0) {
        hide();
        return;
    }
    m_strCount = QString::number(count);
    setVisible(m_bShowAllowed);
    update();
}

void CAttendeesButton::updateScale(double scale)
{
    m_fScale = scale;
    m_pCaption->setFixedSize(int(BUTTON_WIDTH * scale), int(CAPTION_HEIGHT * scale));
    m_pBottomSpacer->changeSize(20, int(BOTTOM_GAP * scale), QSizePolicy::Minimum, QSizePolicy::Fixed);
    const int fontPixels = scale <= 1 ? 12 : (scale < 2 ? 18 : 24);
    m_pCaption->setStyleSheet(QString("color: #fff; font-size: %1px;").arg(fontPixels));
    const QString variant = scale <= 1 ? QString() : (scale < 2 ? QStringLiteral("@1.5x") : QStringLiteral("@2x"));
    m_icon = QPixmap(QString(":/resources/images/layout-operationbar/icon_detail%1.png").arg(variant));
    if (layout()) {
        layout()->invalidate();
    }
    update();
}

void CAttendeesButton::enterEvent(QEvent *event)
{
    setStyleSheet("background-color:#616161;");
    QWidget::enterEvent(event);
}

void CAttendeesButton::leaveEvent(QEvent *event)
{
    setStyleSheet("background-color:#1c1e20;");
    QWidget::leaveEvent(event);
}

void CAttendeesButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}

void CAttendeesButton::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    const double s = m_fScale > 0 ? m_fScale : 1.0;
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(width() / 2.0 - 14 * s, 6 * s, 28 * s, 28 * s), m_icon, QRectF(m_icon.rect()));
    bool isNumber = false;
    const int count = m_strCount.toInt(&isNumber);
    if (!isNumber || count <= 0) {
        return;
    }
    const QFont font = m_pCaption->font();
    const QRect box = QFontMetrics(font).boundingRect(m_strCount);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(width() / 2.0 + 7 * s, 8 * s, box.width() + 10, box.height()), Qt::AlignCenter, m_strCount);
}
