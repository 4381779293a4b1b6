#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class CConferencesMyroomPage;
}

// The signed-in user's own meeting room in large type, with "Join".
class CConferencesMyroomPage : public kd_app::views::CBaseWgt
{
    Q_OBJECT

public:
    explicit CConferencesMyroomPage(QWidget *parent = nullptr);
    ~CConferencesMyroomPage() override;

    void setMyRoomId(const QString &number);
    void retranslate();
    void updateDpi(double scale);

signals:
    void signal_back_clicked();
    void signal_ConfJoin_clicked(QString number);

public slots:
    void slot_ConfJoin_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<Ui::CConferencesMyroomPage> m_pUi;
    QString m_strMyRoomId;
};
