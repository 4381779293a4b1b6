#pragma once

#include <memory>

#include <QWidget>

#include "views/base/cdpiscaler.h"

class QMovie;

namespace Ui {
class CWebBrowserLoadingForm;
}

namespace kd_app {
namespace views {

// The cover over a web page while it loads: a turning picture and
// "Trying to load...".
class CWebBrowserLoadingForm : public QWidget
{
    Q_OBJECT

public:
    explicit CWebBrowserLoadingForm(QWidget *parent);
    ~CWebBrowserLoadingForm() override;

    void updateDpi(double scale);
    void retranslate();

private:
    std::unique_ptr<Ui::CWebBrowserLoadingForm> m_pUi;
    std::unique_ptr<QMovie> m_pMovie;
    CDpiScaler m_scaler;
};

} // namespace views
} // namespace kd_app
