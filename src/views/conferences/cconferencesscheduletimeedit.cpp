#include "cconferencesscheduletimeedit.h"

CConferencesScheduleTimeEdit::CConferencesScheduleTimeEdit(QWidget *parent)
    : QTimeEdit(parent), m_icon(this, QStringLiteral(":/resources/images/conferences/icon_time.png"))
{
}

CConferencesScheduleTimeEdit::~CConferencesScheduleTimeEdit() = default;

void CConferencesScheduleTimeEdit::updateDpi(double scale)
{
    m_icon.updateDpi(scale);
}
