#include "cwidgetcontentsub.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"
#include "views/call/share/cpreview.h"

namespace kd_app {
namespace views {

using models::CKDSdkManager;

namespace {

constexpr int PREVIEW_WIDTH = 110;
constexpr int PREVIEW_HEIGHT = 70;
constexpr int NAME_MAX_WIDTH = 150;
constexpr int NAME_PIXELS = 12;
constexpr int THUMBNAIL_MAX_WIDTH = 112;
constexpr int THUMBNAIL_MAX_HEIGHT = 70;
constexpr int ICON_MAX_SIZE = 40;
const QColor ACCENT(67, 129, 255);
const QColor OUTLINE(225, 225, 225);

QHBoxLayout *centredRow(QWidget *widget)
{
    auto *row = new QHBoxLayout();
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch();
    row->addWidget(widget);
    row->addStretch();
    return row;
}

} // namespace

CWidgetContentSub::CWidgetContentSub(bool isWhiteBoard, QWidget *parent) : QFrame(parent), m_bWhiteBoard(isWhiteBoard)
{
    setObjectName("CWidgetContentSub");
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_MouseTracking);
    m_pPreview = new CPreview(this);
    m_pPreview->setObjectName("preview");
    m_pPreview->setFixedSize(PREVIEW_WIDTH, PREVIEW_HEIGHT);
    m_pPreview->setAttribute(Qt::WA_MouseTracking);
    m_pPreview->installEventFilter(this);
    m_pName = new QLabel(QStringLiteral("nametext"), this);
    m_pName->setObjectName("name");
    m_pName->setMaximumWidth(NAME_MAX_WIDTH);
    QFont font = m_pName->font();
    font.setPixelSize(NAME_PIXELS);
    m_pName->setFont(font);
    m_pName->setStyleSheet("color: #313131;");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addSpacing(8);
    layout->addLayout(centredRow(m_pPreview));
    layout->addLayout(centredRow(m_pName));
}

CWidgetContentSub::~CWidgetContentSub() = default;

void CWidgetContentSub::setSourceInfo(const kd::engine::KDContentSourceInfo &info)
{
    m_sourceInfo = info;
}

void CWidgetContentSub::setName(const QString &name)
{
    m_pName->setText(name);
}

QString CWidgetContentSub::name() const
{
    return m_pName->text();
}

void CWidgetContentSub::setSelected(bool selected)
{
    m_bSelected = selected;
    m_pName->setStyleSheet(selected ? "color: #ffffff;" : "color: #313131;");
    update();
}

void CWidgetContentSub::loadThumbnail()
{
    if (m_bWhiteBoard) {
        m_pPreview->setStyleSheet("border-image: url(:/resources/images/share-content/icon_whiteboard.png);");
        return;
    }
    if (m_sourceInfo.type != 0 && m_sourceInfo.type != 1) {
        return;
    }
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    kd::engine::KDBitmap bitmap;
    sdk->getContentSourceBitmap(m_sourceInfo, 0, THUMBNAIL_MAX_WIDTH, THUMBNAIL_MAX_HEIGHT, &bitmap);
    if (bitmap.data) {
        // Rows come padded to 32-bit words, as QImage keeps them; blue first.
        const QImage pixels(bitmap.data, bitmap.width, bitmap.height, QImage::Format_RGB888);
        m_pPreview->setThumbnail(pixels.rgbSwapped());
        sdk->releaseContentSourceBitmap(&bitmap);
    } else {
        KD_LOG << "no thumbnail:" << QString::fromLocal8Bit(m_sourceInfo.windowTitle.c_str());
        m_pPreview->setStyleSheet("border-image: url(:/resources/images/share-content/icon_app.png);");
    }
    if (m_sourceInfo.type != 1) {
        return;
    }
    kd::engine::KDBitmap icon;
    sdk->getContentSourceBitmap(m_sourceInfo, 1, ICON_MAX_SIZE, ICON_MAX_SIZE, &icon);
    if (icon.data) {
        const QImage pixels(icon.data, icon.width, icon.height, QImage::Format_ARGB32);
        m_pPreview->setIcon(pixels.copy());
        sdk->releaseContentSourceBitmap(&icon);
    }
}

void CWidgetContentSub::setScale(double scale)
{
    if (qFuzzyCompare(scale, m_fScale)) {
        return;
    }
    m_fScale = scale;
    m_pPreview->setFixedSize(int(PREVIEW_WIDTH * scale), int(PREVIEW_HEIGHT * scale));
    QFont font = m_pName->font();
    font.setPixelSize(int(NAME_PIXELS * scale));
    m_pName->setFont(font);
    m_pName->setMaximumWidth(int(NAME_MAX_WIDTH * scale));
}

void CWidgetContentSub::showNameTip(const QPoint &globalPos)
{
    QToolTip::showText(globalPos, m_pName->text(), this);
}

bool CWidgetContentSub::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pPreview && event->type() == QEvent::MouseMove) {
        showNameTip(static_cast<QMouseEvent *>(event)->globalPos());
    }
    return QFrame::eventFilter(watched, event);
}

void CWidgetContentSub::enterEvent(QEvent *event)
{
    m_bHover = true;
    update();
    QFrame::enterEvent(event);
}

void CWidgetContentSub::leaveEvent(QEvent *event)
{
    m_bHover = false;
    update();
    QFrame::leaveEvent(event);
}

void CWidgetContentSub::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        setSelected(true);
        emit signal_selected();
    }
    QFrame::mousePressEvent(event);
}

void CWidgetContentSub::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit signal_doubliClicked();
    QFrame::mouseDoubleClickEvent(event);
}

void CWidgetContentSub::mouseMoveEvent(QMouseEvent *event)
{
    showNameTip(event->globalPos());
    QFrame::mouseMoveEvent(event);
}

void CWidgetContentSub::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.fillPath(path, m_bSelected ? ACCENT : QColor(Qt::white));
    painter.setPen(m_bHover ? ACCENT : OUTLINE);
    painter.drawPath(path);
}

} // namespace views
} // namespace kd_app
