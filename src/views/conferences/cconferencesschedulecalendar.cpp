#include "cconferencesschedulecalendar.h"

#include <QLocale>
#include <QToolButton>

#include "models/clinguist.h"

using kd_app::models::CLinguist;

CConferencesScheduleCalendar::CConferencesScheduleCalendar(QWidget *parent) : QCalendarWidget(parent)
{
    setGridVisible(true);
    setFirstDayOfWeek(Qt::Sunday);
    setSelectionMode(QCalendarWidget::SingleSelection);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    if (auto *month = findChild<QToolButton *>("qt_calendar_monthbutton")) {
        month->setToolButtonStyle(Qt::ToolButtonTextOnly);
        month->setContextMenuPolicy(Qt::NoContextMenu);
        month->setEnabled(false);
        month->setStyleSheet("QToolButton{color: white; background: transparent;} "
                             "QToolButton::menu-indicator {image: none;}");
    }
    if (auto *year = findChild<QToolButton *>("qt_calendar_yearbutton")) {
        year->setEnabled(false);
        year->setStyleSheet("color: white; background: transparent;");
    }
    applyLanguage();
}

CConferencesScheduleCalendar::~CConferencesScheduleCalendar() = default;

void CConferencesScheduleCalendar::applyLanguage()
{
    const bool chinese = CLinguist::getInstance()->m_currentLanguage == CLinguist::ZH_CN;
    setLocale(QLocale(chinese ? QLocale::Chinese : QLocale::English, QLocale::AnyCountry));
}
