#include "cconferenceslistwidget.h"

#include "helpers/clogformat.h"
#include "models/cmeetingrules.h"
#include "views/conferences/cconferenceitemwidget.h"

using kd_app::models::CMeetingRules;

CConferencesListWidget::CConferencesListWidget(QWidget *parent) : QListWidget(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every row has the height the style sheet gives items.
    setUniformItemSizes(true);
}

CConferencesListWidget::~CConferencesListWidget() = default;

CConferenceItemWidget *CConferencesListWidget::newRow(int kind, int notMine, const ucmconferenceData &conference)
{
    // Made inside the list, so that its looks are worked out once.
    auto *row = new CConferenceItemWidget(viewport());
    row->setScale(m_fScale);
    row->setConference(kind, notMine, conference);
    connect(row, &CConferenceItemWidget::signal_MeetingDetail_clicked, this,
            &CConferencesListWidget::slot_MeetingDetail_clicked);
    connect(row, &CConferenceItemWidget::signal_Join_clicked, this, &CConferencesListWidget::slot_Join_clicked);
    connect(row, &CConferenceItemWidget::signal_Delete_clicked, this, &CConferencesListWidget::slot_Delete_clicked);
    connect(row, &CConferenceItemWidget::signal_Edit_clicked, this, &CConferencesListWidget::slot_Edit_clicked);
    connect(row, &CConferenceItemWidget::signal_DeleteEdit_clicked, this,
            &CConferencesListWidget::slot_DeleteEdit_clicked);
    return row;
}

void CConferencesListWidget::addConferenceItem(int kind, int notMine, const ucmconferenceData &conference)
{
    auto *item = new QListWidgetItem();
    insertItem(count(), item);
    setItemWidget(item, newRow(kind, notMine, conference));
}

void CConferencesListWidget::setConferences(const QList<ucmconferenceData> &conferences, quint64 signedInUserId)
{
    KD_LOG << "conferences:" << conferences.size() << "rows:" << count();
    while (count() > conferences.size()) {
        delete takeItem(count() - 1);
    }
    const int reused = count();
    for (int index = 0; index < reused; ++index) {
        const ucmconferenceData &conference = conferences.at(index);
        const int kind = CMeetingRules::kindOf(conference);
        const int notMine = CMeetingRules::notMineFlag(signedInUserId, conference.applicantId);
        CConferenceItemWidget *row = rowAt(index);
        if (row->kind() != kind || row->notMine() != notMine ||
            !CMeetingRules::sameMeeting(row->conference(), conference)) {
            row->setConference(kind, notMine, conference);
        }
    }
    // New rows: all items first, then their widgets. A widget set on an item
    // while further items arrive makes every later insertion lay out all the
    // widgets before it again.
    for (int index = reused; index < conferences.size(); ++index) {
        insertItem(count(), new QListWidgetItem());
    }
    for (int index = reused; index < conferences.size(); ++index) {
        const ucmconferenceData &conference = conferences.at(index);
        setItemWidget(item(index),
                      newRow(CMeetingRules::kindOf(conference),
                             CMeetingRules::notMineFlag(signedInUserId, conference.applicantId), conference));
    }
    placeRows();
}

void CConferencesListWidget::updateEditorGeometries()
{
    // Not the item view's own placing: it shows every row widget, and with
    // thousands of visible sibling widgets each move or repaint of one of
    // them walks all the others.
    placeRows();
}

void CConferencesListWidget::scrollContentsBy(int dx, int dy)
{
    QListWidget::scrollContentsBy(dx, dy);
    placeRows();
}

void CConferencesListWidget::placeRows()
{
    // A view's height above and below stays shown, so that a scroll step
    // uncovers rows that are there already.
    const QRect view = viewport()->rect();
    const QRect near = view.adjusted(0, -view.height(), 0, view.height());
    for (int index = 0; index < count(); ++index) {
        QWidget *row = itemWidget(item(index));
        if (!row) {
            continue;
        }
        const QRect rect = visualItemRect(item(index));
        row->setGeometry(rect);
        row->setVisible(rect.isValid() && rect.intersects(near));
    }
}

CConferenceItemWidget *CConferencesListWidget::rowAt(int index) const
{
    return qobject_cast<CConferenceItemWidget *>(itemWidget(item(index)));
}

int CConferencesListWidget::indexOfItemWidget(QWidget *widget) const
{
    if (!widget) {
        return -1;
    }
    for (int index = 0; index < count(); ++index) {
        if (itemWidget(item(index)) == widget) {
            return index;
        }
    }
    return -1;
}

void CConferencesListWidget::retranslate()
{
    for (int index = 0; index < count(); ++index) {
        if (CConferenceItemWidget *row = rowAt(index)) {
            row->retranslate();
        }
    }
}

void CConferencesListWidget::updateDpi(double scale)
{
    for (int index = 0; index < count(); ++index) {
        if (CConferenceItemWidget *row = rowAt(index)) {
            row->updateDpi(scale);
        }
    }
    m_fScale = scale;
}

void CConferencesListWidget::slot_MeetingDetail_clicked()
{
    emit signal_MeetingDetail_clicked(indexOfItemWidget(qobject_cast<QWidget *>(sender())));
}

void CConferencesListWidget::slot_Join_clicked()
{
    emit signal_Join_clicked(indexOfItemWidget(qobject_cast<QWidget *>(sender())));
}

void CConferencesListWidget::slot_Delete_clicked()
{
    emit signal_Delete_clicked(indexOfItemWidget(qobject_cast<QWidget *>(sender())));
}

void CConferencesListWidget::slot_Edit_clicked()
{
    emit signal_Edit_clicked(indexOfItemWidget(qobject_cast<QWidget *>(sender())));
}

void CConferencesListWidget::slot_DeleteEdit_clicked()
{
    emit signal_DeleteEdit_clicked(indexOfItemWidget(qobject_cast<QWidget *>(sender())));
}
