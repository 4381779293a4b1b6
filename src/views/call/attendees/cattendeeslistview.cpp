#include "cattendeeslistview.h"

#include "views/call/attendees/cattendeesdelegate.h"
#include "views/call/attendees/cattendeeslistmodel.h"

namespace kd_app {
namespace views {

CAttendeesListview::CAttendeesListview(QWidget *parent) : QListView(parent)
{
}

CAttendeesListview::~CAttendeesListview()
{
    // The view lets go of both before they are deleted.
    setModel(nullptr);
    setItemDelegate(nullptr);
}

void CAttendeesListview::adopt(CAttendeesListmodel *model, CAttendeesDelegate *delegate)
{
    setModel(model);
    setItemDelegate(delegate);
    m_pModel.reset(model);
    m_pDelegate.reset(delegate);
}

} // namespace views
} // namespace kd_app
