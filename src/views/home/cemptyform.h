#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class CEmptyForm;
}

namespace kd_app {
namespace views {

// The empty page the home window shows for a moment on its first show where
// the system draws the first page late.
class CEmptyForm : public QWidget
{
    Q_OBJECT

public:
    explicit CEmptyForm(QWidget *parent = nullptr);
    ~CEmptyForm() override;

private:
    std::unique_ptr<Ui::CEmptyForm> m_pUi;
};

} // namespace views
} // namespace kd_app
