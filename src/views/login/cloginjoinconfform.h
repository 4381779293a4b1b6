#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace kd_app {
namespace views {

struct CLoginJoinConfFormUi;

// The guest page of the login window: join a meeting without an account.
class CLoginJoinConfForm : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CLoginJoinConfForm(QWidget *parent);
    ~CLoginJoinConfForm() override;

    void refreshData();
    void updateQss(double factor);

    // What is wrong with a display name, as the user is told; empty when it
    // may be used.
    static QString displayNameProblem(const QString &displayName);

public slots:
    void slotOnBtnJoinConf();
    void slotOnBtnBack();
    void slotOnLanguageChanged();

protected:
    void onDpiChanged() override;

private:
    std::unique_ptr<CLoginJoinConfFormUi> m_pUi;
};

} // namespace views
} // namespace kd_app
