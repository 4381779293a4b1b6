#include "cemptyform.h"

#include "ui_cemptyform.h"

namespace kd_app {
namespace views {

CEmptyForm::CEmptyForm(QWidget *parent) : QWidget(parent), m_pUi(std::make_unique<Ui::CEmptyForm>())
{
    m_pUi->setupUi(this);
}

CEmptyForm::~CEmptyForm() = default;

} // namespace views
} // namespace kd_app
