#pragma once

#include <QCalendarWidget>

// The drop-down calendar of the start-date editor: Sunday first, month and
// year changed with the arrows only, in the program's language.
class CConferencesScheduleCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit CConferencesScheduleCalendar(QWidget *parent = nullptr);
    ~CConferencesScheduleCalendar() override;

    void applyLanguage();
};
