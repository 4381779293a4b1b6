#pragma once

#include <memory>

#include <QDateTime>

#include "views/base/cbasewgt.h"

namespace Ui {
class CConferencesSchedulePage;
}

class CConferencesScheduleCalendar;
class CConferencestableview;

// The form on which a meeting is scheduled ("Schedule meeting") or one's own
// meeting is edited ("Edit meeting"). It sends nothing itself: the meetings
// container fills it, reads its getters on "Schedule" and sends the request.
class CConferencesSchedulePage : public kd_app::views::CBaseWgt
{
    Q_OBJECT

public:
    enum Mode {
        NewMeeting = 0,
        EditMeeting = 1,
    };

    explicit CConferencesSchedulePage(QWidget *parent = nullptr);
    ~CConferencesSchedulePage() override;

    void setMode(int mode);
    void setTitle(const QString &name);
    void setStartTime(qint64 ms);
    void setDuration(qint64 ms);
    void setNumericId(int numericId);
    void setPassword(const QString &password);
    void setDescription(const QString &description);
    void setParticipants(const QList<int> &userIds);
    void setConferenceId(int id);

    QString getTitle() const;
    qint64 getStartTime() const;
    qint64 getDuration() const;
    QString getPassword() const;
    QString getDescription() const;
    QList<int> getParticipants() const;
    int getNumericId() const;
    int getConferenceId() const { return m_nConferenceId; }
    int getMode() const { return m_nMode; }

    void retranslate();
    void updateDpi(double scale);

    CConferencestableview *participantsGrid() const;
    CConferencesScheduleCalendar *calendar() const { return m_pCalendar.get(); }

signals:
    void signal_back_clicked();
    void signal_schedule_clicked();
    void signal_adduser_clicked(QList<int> userIds);

public slots:
    void on_checkBox_now_toggled(bool checked);
    void slot_addusers();

protected:
    void paintEvent(QPaintEvent *event) override;
    // The clock new meetings and "Now" start from.
    virtual QDateTime currentDateTime() const;

private:
    void resetForNewMeeting();
    void showHeader();

    std::unique_ptr<Ui::CConferencesSchedulePage> m_pUi;
    std::unique_ptr<CConferencesScheduleCalendar> m_pCalendar;
    int m_nMode = NewMeeting;
    int m_nConferenceId = 0;
    // A duration of a day or more, which the duration editor cannot show; it
    // is what the page gives back until the user changes the editor.
    qint64 m_nHeldDuration = -1;
};
