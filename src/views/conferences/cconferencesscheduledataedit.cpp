#include "cconferencesscheduledataedit.h"

CConferencesScheduleDataEdit::CConferencesScheduleDataEdit(QWidget *parent)
    : QDateEdit(parent), m_icon(this, QStringLiteral("icon_date"))
{
}

CConferencesScheduleDataEdit::~CConferencesScheduleDataEdit() = default;

void CConferencesScheduleDataEdit::updateDpi(double scale)
{
    m_icon.updateDpi(scale);
}
