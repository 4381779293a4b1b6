#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace kd_app {
namespace views {

struct CLoginChangePasswordFormUi;

// The page shown after a sign-in whose password must be changed: a new
// password twice, or skip.
class CLoginChangePasswordForm : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CLoginChangePasswordForm(QWidget *parent);
    ~CLoginChangePasswordForm() override;

    void clearData();
    void updateQss(double factor);

public slots:
    void slotOnBtnNextClicked();
    void slotOnBtnSkipClicked();
    void slotOnLanguageChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    std::unique_ptr<CLoginChangePasswordFormUi> m_pUi;
};

} // namespace views
} // namespace kd_app
