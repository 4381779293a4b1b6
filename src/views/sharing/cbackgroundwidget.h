#pragma once

#include "views/base/cbasewgt.h"

namespace kd_app {
namespace views {

// The top-most window laid over the shared screen while this side sends
// content; the window manager takes it as the active main window while it is
// up and no other main window is.
class CbackgroundWidget : public CBaseWgt
{
public:
    explicit CbackgroundWidget(QWidget *parent);
    ~CbackgroundWidget() override;
};

} // namespace views
} // namespace kd_app
