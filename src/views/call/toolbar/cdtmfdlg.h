#pragma once

#include <memory>

#include <QString>

#include "views/base/cdraggablewgt.h"

namespace Ui {
class CDTMFDlg;
}

namespace kd_app {
namespace views {

class CDTMFLabel;

// The dial pad: twelve keys in the telephone layout that send their tone
// into the call and, when the engine took it, add it to the digits shown.
class CDTMFDlg : public CDraggableWgt
{
    Q_OBJECT

public:
    static constexpr int KEY_COUNT = 12;
    static constexpr int COLUMN_COUNT = 3;

    explicit CDTMFDlg(QWidget *parent);
    ~CDTMFDlg() override;

    // "1" to "9", "*", "0", "#" for the indexes 0 to 11; empty outside.
    static QString keyText(int index);

    QString digits() const;
    CDTMFLabel *keyLabel(int index) const;
    QWidget *titleBar() const;

public slots:
    void slot_selectInput(int index);

protected:
    void onDpiChanged() override;

private:
    std::unique_ptr<Ui::CDTMFDlg> ui;
};

} // namespace views
} // namespace kd_app
