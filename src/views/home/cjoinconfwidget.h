#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class CJoinConfWidget;
}

namespace kd_app {
namespace views {

// The guest's first page of the home window: the join dialog's fields on a
// page that stays after a join and reloads the recent numbers on each show.
class CJoinConfWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CJoinConfWidget(QWidget *parent);
    ~CJoinConfWidget() override;

    void joinConf(bool isAudioOnly);
    // The home window passes its scale; the page takes none of its own.
    void updateDpi(double scale);

public slots:
    void slotOnVideoJoin();
    void slotOnAudioJoin();
    void slotOnLanguageChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Generated forms stay out of headers: other targets cannot see them.
    std::unique_ptr<Ui::CJoinConfWidget> ui;
    double m_fScale = 1.0;
};

} // namespace views
} // namespace kd_app
