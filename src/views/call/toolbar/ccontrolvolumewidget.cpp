#include "ccontrolvolumewidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "engine/kdtypes.h"
#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"

namespace kd_app {
namespace views {

using models::CKDSdkManager;

namespace {

const char STYLE_BASE[] = ":/resources/qss/controlvolumewidget";
constexpr int DESIGN_WIDTH = 44;
constexpr int DESIGN_HEIGHT = 194;
constexpr int MUTE_SIZE = 24;
constexpr float MAX_ENGINE_VOLUME = 3.0f;
constexpr int MAX_SLIDER_VALUE = 100;

} // namespace

CControlVolumeWidget::CControlVolumeWidget(double scale, QWidget *parent) : CBaseWgt(parent)
{
    setObjectName("CControlVolumeWidget");
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_StyledBackground);
    setWindowFlags(windowFlags() | Qt::SubWindow | Qt::FramelessWindowHint);
    m_fStretchFactor = scale;
    setStyleSheetByScale(STYLE_BASE);

    m_value = new QLabel(QStringLiteral("10"), this);
    m_value->setObjectName("m_value");
    m_value->setAlignment(Qt::AlignCenter);
    m_value->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_value->setFixedHeight(26);

    m_volume = new QSlider(Qt::Vertical, this);
    m_volume->setObjectName("m_volume");
    m_volume->setRange(0, MAX_SLIDER_VALUE);
    m_volume->setSingleStep(1);
    m_volume->setValue(10);
    m_volume->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    m_mute = new QToolButton(this);
    m_mute->setObjectName("m_mute");
    m_mute->setCheckable(true);
    m_mute->setChecked(true);
    m_mute->setFixedSize(int(MUTE_SIZE * scale), int(MUTE_SIZE * scale));

    m_vLayout = new QVBoxLayout(this);
    m_vLayout->setObjectName("m_vLayout");
    m_vLayout->setSpacing(6);
    m_vLayout->setContentsMargins(6, 6, 6, 6);
    m_vLayout->addWidget(m_value);
    m_vLayout->addWidget(m_volume, 0, Qt::AlignHCenter);
    m_hLayout = new QHBoxLayout();
    m_hLayout->setObjectName("m_hLayout");
    m_hLayout->setSpacing(0);
    m_hLayout->setContentsMargins(0, 0, 0, 0);
    m_hLayout->addItem(new QSpacerItem(6, 10, QSizePolicy::Preferred, QSizePolicy::Fixed));
    m_hLayout->addWidget(m_mute);
    m_hLayout->addItem(new QSpacerItem(6, 10, QSizePolicy::Preferred, QSizePolicy::Fixed));
    m_vLayout->addLayout(m_hLayout);

    setFixedSize(int(DESIGN_WIDTH * scale), int(DESIGN_HEIGHT * scale));
}

CControlVolumeWidget::~CControlVolumeWidget() = default;

int CControlVolumeWidget::toSliderValue(float volume)
{
    return qRound(volume * MAX_SLIDER_VALUE / MAX_ENGINE_VOLUME);
}

float CControlVolumeWidget::toEngineVolume(int value)
{
    return float(value * double(MAX_ENGINE_VOLUME) / MAX_SLIDER_VALUE);
}

void CControlVolumeWidget::initVolume(bool mute, float volume)
{
    KD_LOG << "mute:" << mute << "volume:" << volume;
    const int value = toSliderValue(volume);
    m_volume->setValue(value);
    m_value->setText(QString::number(value));
    m_mute->setChecked(mute);
    if (m_bConnected) {
        return;
    }
    m_bConnected = true;
    connect(m_volume, &QSlider::valueChanged, this, &CControlVolumeWidget::slot_setValue);
    connect(m_mute, &QToolButton::clicked, this, &CControlVolumeWidget::slot_setMute);
}

void CControlVolumeWidget::slot_setValue(int nValue)
{
    m_value->setText(QString::number(nValue));
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    kd::engine::KDVolume volume = sdk->getVolume(kd::engine::KD_DEVICE_SPEAKER);
    volume.volume = toEngineVolume(nValue);
    sdk->setVolume(kd::engine::KD_DEVICE_SPEAKER, volume);
}

void CControlVolumeWidget::slot_setMute(bool mute)
{
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    kd::engine::KDVolume volume = sdk->getVolume(kd::engine::KD_DEVICE_SPEAKER);
    volume.mute = mute ? 1 : 0;
    sdk->setVolume(kd::engine::KD_DEVICE_SPEAKER, volume);
}

} // namespace views
} // namespace kd_app
