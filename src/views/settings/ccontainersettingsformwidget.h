#pragma once

#include <memory>

#include "views/base/cdraggablewgt.h"

namespace Ui {
class CContainerSettingsFormWidget;
}

namespace kd_app {
namespace views {

class CSettingsForm;

// The settings pages in a window of their own: a "Settings" title bar to
// drag it by and a close button around the settings form. The call toolbar,
// the sharing toolbars and the login window open it.
class CContainerSettingsFormWidget : public CDraggableWgt
{
    Q_OBJECT

public:
    explicit CContainerSettingsFormWidget(QWidget *parent);
    ~CContainerSettingsFormWidget() override;

    void centerWindow();
    // 0 SIP, 1 General, 2 Audio, 3 Video, 4 Network Report, 5 About.
    void setCurrentPage(int page);

    QWidget *titleBar() const;

signals:
    void closeWindow();

public slots:
    void closeTheWindow();

protected:
    void onDpiChanged() override;

private:
    std::unique_ptr<Ui::CContainerSettingsFormWidget> ui;
    CSettingsForm *m_pSettingForm = nullptr;
};

} // namespace views
} // namespace kd_app
