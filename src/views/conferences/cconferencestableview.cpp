#include "cconferencestableview.h"

#include <QHeaderView>

#include "helpers/clogformat.h"
#include "models/cucmapimanager.h"
#include "views/conferences/cconferencesdelegate.h"
#include "views/conferences/cconferencestablemodel.h"

using kd_app::models::CUCMApiManager;

CConferencestableview::CConferencestableview(QWidget *parent) : QTableView(parent)
{
    setMouseTracking(true);
    // The cell under the mouse gets its remove mark from hover events.
    viewport()->setAttribute(Qt::WA_Hover);
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalHeader()->hide();
    horizontalHeader()->hide();
    connect(this, &QTableView::clicked, this, &CConferencestableview::slot_item_clicked);
}

CConferencestableview::~CConferencestableview() = default;

void CConferencestableview::initView()
{
    m_pModel = new CConferencesTablemodel(this);
    m_pDelegate = new CConferencesDelegate(this);
    setModel(m_pModel);
    setItemDelegate(m_pDelegate);
}

void CConferencestableview::setReadOnly()
{
    m_bReadOnly = true;
    m_pDelegate->setReadOnly();
}

QList<int> CConferencestableview::getUserIds() const
{
    return m_pModel->getUserIds();
}

void CConferencestableview::setParticipants(const QList<int> &userIds)
{
    KD_LOG << "userIds:" << userIds.size() << "readOnly:" << m_bReadOnly;
    m_pModel->clear();
    const QList<ucmuserData> &users = CUCMApiManager::getInstance()->getUserList();
    for (int id : userIds) {
        conferencesItemData cell;
        cell.kind = conferencesItemData::User;
        cell.userId = id;
        const auto found =
            std::find_if(users.cbegin(), users.cend(), [id](const ucmuserData &user) { return user.id == id; });
        if (found != users.cend()) {
            cell.name = found->displayName;
            cell.imageURL = found->imageURL;
        } else {
            // Not among the users known here (not fetched yet, or removed):
            // the invitee keeps a cell under its number, so that saving the
            // meeting does not drop it.
            cell.name = QString::number(id);
        }
        m_pModel->addItem(cell);
    }
    if (!m_bReadOnly) {
        conferencesItemData add;
        add.kind = conferencesItemData::AddCell;
        add.name = tr("Add");
        m_pModel->addItem(add);
    }
    m_pModel->refreshModel();
    if (!m_bReadOnly) {
        // Lays the cells out first, so that the add cell comes into view.
        scrollToBottom();
    }
}

void CConferencestableview::updateDpi(double scale)
{
    verticalHeader()->setDefaultSectionSize(int(68 * scale));
    horizontalHeader()->setDefaultSectionSize(int(48 * scale));
    m_pDelegate->updateDpi(scale);
    m_pModel->refreshModel();
}

void CConferencestableview::slot_item_clicked(QModelIndex index)
{
    const int kind = index.data(CConferencesTablemodel::KindRole).toInt();
    if (kind == conferencesItemData::User) {
        if (!m_bReadOnly) {
            m_pModel->removeItem(index);
        }
    } else if (kind == conferencesItemData::AddCell) {
        emit signal_addusers();
    }
}
