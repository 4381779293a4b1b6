#include "cconferencesscheduletimeedit.h"

CConferencesScheduleTimeEdit::CConferencesScheduleTimeEdit(QWidget *parent)
    : QTimeEdit(parent), m_icon(this, QStringLiteral("icon_time"))
{
}

CConferencesScheduleTimeEdit::~CConferencesScheduleTimeEdit() = default;

void CConferencesScheduleTimeEdit::updateDpi(double scale)
{
    m_icon.updateDpi(scale);
}
