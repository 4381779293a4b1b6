#pragma once

// The pop-up that a button of the sharing toolbar opens, by the button's
// object name; null while it is closed.

#include <QString>

#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"
#include "views/sharing/cbackgroundwidget.h"

inline QWidget *popupOfButton(const kd_app::views::CbackgroundWidget *overlay, const QString &button)
{
    if (button == QLatin1String("m_pBtnSelectMicUp")) {
        return overlay->audioMenu();
    }
    if (button == QLatin1String("m_pBtnSelectCameraUp")) {
        return overlay->cameraMenu();
    }
    return overlay->volumePopup();
}
