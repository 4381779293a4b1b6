#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class CallWaitingWidget;
}

namespace kd_app {
namespace views {

// The panel laid over the call window while a call is being set up: the
// number, how many wait ahead in the meeting's queue, and a hang-up button.
class CallWaitingWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CallWaitingWidget(QWidget *parent);
    ~CallWaitingWidget() override;

    QString meetingNumber() const;
    QString peopleNumber() const;

signals:
    void sigHangUp();

public slots:
    void onSetMeetingNumber(const QString &number);
    void onSetPeopleNumber(const QString &count);
    void slotOnHangUpAction();

protected:
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    std::unique_ptr<Ui::CallWaitingWidget> ui;
};

} // namespace views
} // namespace kd_app
