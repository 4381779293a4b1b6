#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class CallInviteWidget;
}

namespace kd_app {
namespace views {

// The incoming-call panel laid over the call window: who calls, and the
// audio answer, video answer and decline buttons. It only reports the
// user's choice; the call window turns it into call-controller operations.
class CallInviteWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CallInviteWidget(QWidget *parent);
    ~CallInviteWidget() override;

signals:
    void sigHangUp();
    void sigAcceptCall(bool bIsAudioOnly);

public slots:
    void onSetMeetingNumber(const QString &number);
    void onSetInviteName(const QString &name);
    void slotOnAudioAccept();
    void slotOnVideoAccept();
    void slotOnHangUpAction();
    void setIsAudioOnlyCall(bool isAudioOnly);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void onDpiChanged() override;

private:
    std::unique_ptr<Ui::CallInviteWidget> ui;
};

} // namespace views
} // namespace kd_app
