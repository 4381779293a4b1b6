#pragma once

#include <QTimeEdit>

#include "views/conferences/cconferenceseditoricon.h"

// The start-time and duration editors of the schedule page, a clock icon
// inside them.
class CConferencesScheduleTimeEdit : public QTimeEdit
{
    Q_OBJECT

public:
    explicit CConferencesScheduleTimeEdit(QWidget *parent = nullptr);
    ~CConferencesScheduleTimeEdit() override;

    void updateDpi(double scale);

private:
    CConferencesEditorIcon m_icon;
};
