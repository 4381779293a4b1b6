#include "cdevicemenuwidget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"

namespace kd_app {
namespace views {

using kd::engine::KDDevice;
using models::CKDSdkManager;

namespace {

constexpr int ROW_MIN_WIDTH = 130;
constexpr int ROW_HEIGHT = 24;
constexpr int MENU_MIN_HEIGHT = 42;

} // namespace

CDeviceMenuWidget::CDeviceMenuWidget(double scale, QWidget *parent, const char *styleBase) : CBaseWgt(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_StyledBackground);
    setWindowFlags(windowFlags() | Qt::SubWindow | Qt::FramelessWindowHint);
    m_fStretchFactor = scale;
    setStyleSheetByScale(QString::fromLatin1(styleBase));
}

CDeviceMenuWidget::~CDeviceMenuWidget() = default;

void CDeviceMenuWidget::readDevices(Section &section)
{
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    section.devices = sdk->getDevices(section.type);
    section.current = sdk->getDevice(section.type);
}

void CDeviceMenuWidget::beginLayout()
{
    m_vLayout = new QVBoxLayout();
    m_vLayout->setObjectName("m_vLayout");
    m_vLayout->setSpacing(6);
    m_vLayout->setContentsMargins(0, 6, 0, 6);
}

void CDeviceMenuWidget::sizeRow(QWidget *row, const char *name) const
{
    row->setObjectName(name);
    row->setMinimumWidth(int(ROW_MIN_WIDTH * m_fStretchFactor));
    row->setFixedHeight(int(ROW_HEIGHT * m_fStretchFactor));
}

void CDeviceMenuWidget::addSection(Section &section, const QString &title, const char *renamedName,
                                   const std::function<void(int)> &checked)
{
    if (section.devices.empty()) {
        return;
    }
    auto *titleLabel = new QLabel(title, this);
    sizeRow(titleLabel, "m_labelTitle");
    m_vLayout->addWidget(titleLabel);

    section.group = new QButtonGroup(this);
    section.group->setExclusive(true);
    for (const KDDevice &device : section.devices) {
        QString name = QString::fromStdString(device.name);
        if (renamedName && device.name == renamedName) {
            name = tr("System Default");
        }
        auto *box = new QCheckBox(name, this);
        sizeRow(box, "m_check");
        box->setChecked(device.id == section.current.id);
        // Device ids stay below 2^31, so they are valid button ids.
        section.group->addButton(box, int(device.id));
        m_vLayout->addWidget(box);
    }
    connect(section.group, &QButtonGroup::idClicked, this, checked);

    auto *line = new QFrame(this);
    line->setObjectName("m_line");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(1);
    m_vLayout->addWidget(line);
}

void CDeviceMenuWidget::finishLayout(const char *linkName, const QString &linkText,
                                     const std::function<void()> &clicked)
{
    auto *link = new QPushButton(linkText, this);
    sizeRow(link, linkName);
    link->setCursor(Qt::PointingHandCursor);
    link->setAutoDefault(false);
    m_vLayout->addWidget(link);
    m_vLayout->addItem(new QSpacerItem(20, 0, QSizePolicy::Preferred, QSizePolicy::Preferred));
    setLayout(m_vLayout);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setMinimumSize(int(ROW_MIN_WIDTH * m_fStretchFactor), int(MENU_MIN_HEIGHT * m_fStretchFactor));
    adjustSize();
    connect(link, &QPushButton::clicked, this, clicked);
}

void CDeviceMenuWidget::selectDevice(Section &section, int nId)
{
    KD_LOG << "type:" << section.type << "id:" << nId;
    const uint32_t id = uint32_t(nId);
    if (!section.group || !section.group->button(nId) || id == section.current.id) {
        return;
    }
    for (const KDDevice &device : section.devices) {
        if (device.id == id) {
            section.current = device;
            CKDSdkManager::getInstance()->setDevice(section.type, id);
            return;
        }
    }
}

} // namespace views
} // namespace kd_app
