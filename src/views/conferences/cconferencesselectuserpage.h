#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class CConferencesSelectuserPage;
}

namespace kd_app {
namespace views {
class CContactsWidget;
}
} // namespace kd_app

// Where the invited users of a meeting are chosen: the contacts page in
// picker mode between "Back" and "Ok".
class CConferencesSelectuserPage : public kd_app::views::CBaseWgt
{
    Q_OBJECT

public:
    explicit CConferencesSelectuserPage(QWidget *parent = nullptr);
    ~CConferencesSelectuserPage() override;

    QList<int> getSelectedUsers() const;
    void setSelectedUsers(const QList<int> &ids);
    void refreshContacts();
    void retranslate();
    void updateDpi(double scale);

    kd_app::views::CContactsWidget *contactsPage() const;

signals:
    void signal_back_clicked();
    void signal_ok_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<Ui::CConferencesSelectuserPage> m_pUi;
};
