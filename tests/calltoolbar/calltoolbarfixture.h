#pragma once

// What the call toolbar's tests share: the engine model's meeting that Ann
// hosts, and the names an attendee list shows.

#include <QStringList>

#include "../login/clientfixture.h"
#include "views/call/attendees/cattendeeslistmodel.h"
#include "views/call/attendees/cattendeeslistview.h"

namespace calltoolbar {

// Meeting 4001 "Planning" on conf.parvela.test, hosted by Ann ("ann",
// "Ann-pass1"); Ben ("ben", "Ben-pass1") may join it too.
inline void addPlanningMeeting(kd::sdk::IEngineControl *control)
{
    // Once one server is known the model knows only those it was given.
    kd::sdk::KDModelServer conf;
    conf.address = "conf.parvela.test";
    control->addServer(conf);
    control->addAccount(fixture::account("ann", "Ann-pass1", "Ann", 11));
    control->addAccount(fixture::account("ben", "Ben-pass1", "Ben", 12));
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "4001";
    meeting.name = "Planning";
    meeting.hosts = {"ann"};
    control->addMeeting(meeting);
}

inline QStringList attendeeNames(const kd_app::views::CAttendeesListview *view)
{
    QStringList result;
    const kd_app::views::CAttendeesListmodel *model = view->listModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        result << model->index(row).data(kd_app::views::CAttendeesListmodel::NameRole).toString();
    }
    return result;
}

} // namespace calltoolbar
