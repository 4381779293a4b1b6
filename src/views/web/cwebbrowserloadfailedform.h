#pragma once

#include <memory>

#include <QWidget>

#include "views/base/cdpiscaler.h"

namespace Ui {
class CWebBrowserLoadFailedForm;
}

namespace kd_app {
namespace views {

// The cover over a web page that did not load in time: a picture,
// "Failed to load, please check your network." and "Reload".
class CWebBrowserLoadFailedForm : public QWidget
{
    Q_OBJECT

public:
    explicit CWebBrowserLoadFailedForm(QWidget *parent);
    ~CWebBrowserLoadFailedForm() override;

    void updateDpi(double scale);
    void retranslate();

signals:
    void signal_reload();

private:
    std::unique_ptr<Ui::CWebBrowserLoadFailedForm> m_pUi;
    CDpiScaler m_scaler;
};

} // namespace views
} // namespace kd_app
