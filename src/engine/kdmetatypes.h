#pragma once

// Engine records that travel through queued Qt signals, under their qualified names.

#include <string>

#include <QMetaType>

#include "engine/kdtypes.h"

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(kd::engine::KDError)
Q_DECLARE_METATYPE(kd::engine::KDWarn)
Q_DECLARE_METATYPE(kd::engine::KDUserInfo)
Q_DECLARE_METATYPE(kd::engine::KDCallInfo)
Q_DECLARE_METATYPE(kd::engine::KDContentInfo)
Q_DECLARE_METATYPE(kd::engine::KDWhiteBoardInfo)
Q_DECLARE_METATYPE(kd::engine::KDRegisterInfo)
Q_DECLARE_METATYPE(kd::engine::KD_DEVICE_TYPE)
Q_DECLARE_METATYPE(kd::engine::KDVolume)
Q_DECLARE_METATYPE(kd::engine::KDDevice)
Q_DECLARE_METATYPE(kd::engine::KDVideoSize)
