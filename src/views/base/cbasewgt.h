#pragma once

#include <QWidget>

#include "views/base/cdpiscaler.h"
#include "views/base/cscreendpiwatcher.h"

class QScreen;

namespace kd_app {
namespace views {

// Base of panels, pages and popups: keeps the display-scale factor of its
// screen current and calls onDpiChanged when it changes. It does not take the
// parent it is given: a panel becomes a child only when a layout or an
// explicit setParent adopts it, so popups can choose their own window flags.
class CBaseWgt : public QWidget
{
public:
    explicit CBaseWgt(QWidget *parent);
    ~CBaseWgt() override;

    void updateDpi(unsigned int dpi);
    void centerWindow();
    QScreen *getDisplayScreen() const;
    void setStyleSheetByScale(const QString &base);

    double stretchFactor() const { return m_fStretchFactor; }

protected:
    void showEvent(QShowEvent *event) override;

    virtual void onDpiChanged();

    double m_fStretchFactor = 0.0;
    unsigned int m_nDpi = 0;
    // Panels record their layout here at their first show and rescale it in onDpiChanged.
    CDpiScaler m_dpiScaler;

private:
    CScreenDpiWatcher m_dpiWatcher;
};

} // namespace views
} // namespace kd_app
