#pragma once

#include <QDateEdit>

#include "views/conferences/cconferenceseditoricon.h"

// The start-date editor of the schedule page, a calendar icon inside it.
class CConferencesScheduleDataEdit : public QDateEdit
{
    Q_OBJECT

public:
    explicit CConferencesScheduleDataEdit(QWidget *parent = nullptr);
    ~CConferencesScheduleDataEdit() override;

    void updateDpi(double scale);

private:
    CConferencesEditorIcon m_icon;
};
