#include "chomemenulistview.h"

#include "custom_controls/chomemenuitemdelegate.h"
#include "custom_controls/chomemenulistmodel.h"

namespace kd_app {
namespace custom_controls {

CHomeMenuListView::CHomeMenuListView(QWidget *parent)
    : QListView(parent), m_pModel(std::make_unique<CHomeMenuListModel>()),
      m_pDelegate(std::make_unique<CHomeMenuItemDelegate>())
{
    setModel(m_pModel.get());
    setItemDelegate(m_pDelegate.get());
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    // The row under the mouse is drawn apart, which hover events tell.
    viewport()->setAttribute(Qt::WA_Hover);
}

// The view lets go of its model and delegate before they are deleted.
CHomeMenuListView::~CHomeMenuListView()
{
    setModel(nullptr);
    setItemDelegate(nullptr);
}

void CHomeMenuListView::addItem(CHomeMenuItem *item)
{
    m_pModel->addItem(item);
}

void CHomeMenuListView::clearItems()
{
    m_pModel->clearItems();
}

bool CHomeMenuListView::setItemIcons(int row, const QString &normal, const QString &current, const QString &hover)
{
    return m_pModel->setItemIcons(row, normal, current, hover);
}

bool CHomeMenuListView::setItemText(int row, const QString &text)
{
    return m_pModel->setItemText(row, text);
}

void CHomeMenuListView::selectRow(int row)
{
    setCurrentIndex(m_pModel->index(row, 0));
}

} // namespace custom_controls
} // namespace kd_app
