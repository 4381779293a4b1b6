#include "cconferencesscheduledataedit.h"

CConferencesScheduleDataEdit::CConferencesScheduleDataEdit(QWidget *parent)
    : QDateEdit(parent), m_icon(this, QStringLiteral(":/resources/images/conferences/icon_date.png"))
{
}

CConferencesScheduleDataEdit::~CConferencesScheduleDataEdit() = default;

void CConferencesScheduleDataEdit::updateDpi(double scale)
{
    m_icon.updateDpi(scale);
}
