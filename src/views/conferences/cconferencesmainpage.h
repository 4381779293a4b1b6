#pragma once

#include <memory>

#include "models/ucmdata.h"
#include "views/base/cbasewgt.h"

namespace Ui {
class CConferencesMainPage;
}

class CConferencesListWidget;

// The first meetings page: the tiles, the user's own room, and the meetings.
// It shows and forwards; the meetings container acts on its signals.
class CConferencesMainPage : public kd_app::views::CBaseWgt
{
    Q_OBJECT

public:
    explicit CConferencesMainPage(QWidget *parent = nullptr);
    ~CConferencesMainPage() override;

    void setConferences(const QList<ucmconferenceData> &conferences);
    void setMyRoomId(const QString &number);
    void retranslate();
    void updateDpi(double scale);

    CConferencesListWidget *listWidget() const;

signals:
    void signal_myroom_clicked();
    void signal_schedule_clicked();
    void signal_join_clicked();
    void signal_ConfJoin_clicked(QString number);
    void signal_MeetingDetail_clicked(int index);
    void signal_Join_clicked(int index);
    void signal_Delete_clicked(int index);
    void signal_Edit_clicked(int index);
    void signal_DeleteEdit_clicked(int index);

public slots:
    void slot_ConfJoin_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<Ui::CConferencesMainPage> m_pUi;
    QString m_strMyRoomId;
};
