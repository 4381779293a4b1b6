#pragma once

#include "views/base/cbasewgt.h"

class QLabel;
class QPushButton;

namespace kd_app {
namespace views {

// The settings popup: its own title bar and close button around the
// settings pages.
class CContainerSettingsFormWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CContainerSettingsFormWidget(QWidget *parent);
    ~CContainerSettingsFormWidget() override;

signals:
    void closeWindow();

private:
    void slotOnBtnClose();

    QLabel *m_pLblTitle = nullptr;
    QPushButton *m_pBtnClose = nullptr;
    QLabel *m_pLblBody = nullptr;
};

} // namespace views
} // namespace kd_app
