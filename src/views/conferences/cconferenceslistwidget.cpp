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

CConferenceItemWidget *CConferencesListWidget::newRow(const Row &row)
{
    // Made inside the list, so that its looks are worked out once.
    auto *widget = new CConferenceItemWidget(viewport());
    widget->setScale(m_fScale);
    widget->setConference(row.kind, row.notMine, row.conference);
    connect(widget, &CConferenceItemWidget::signal_MeetingDetail_clicked, this,
            &CConferencesListWidget::slot_MeetingDetail_clicked);
    connect(widget, &CConferenceItemWidget::signal_Join_clicked, this, &CConferencesListWidget::slot_Join_clicked);
    connect(widget, &CConferenceItemWidget::signal_Delete_clicked, this, &CConferencesListWidget::slot_Delete_clicked);
    connect(widget, &CConferenceItemWidget::signal_Edit_clicked, this, &CConferencesListWidget::slot_Edit_clicked);
    connect(widget, &CConferenceItemWidget::signal_DeleteEdit_clicked, this,
            &CConferencesListWidget::slot_DeleteEdit_clicked);
    return widget;
}

void CConferencesListWidget::addConferenceItem(int kind, int notMine, const ucmconferenceData &conference)
{
    insertItem(count(), new QListWidgetItem());
    m_rows.append(Row{kind, notMine, conference, nullptr});
    placeRows();
}

void CConferencesListWidget::setConferences(const QList<ucmconferenceData> &conferences, quint64 signedInUserId)
{
    KD_LOG << "conferences:" << conferences.size() << "rows:" << m_rows.size();
    while (m_rows.size() > conferences.size()) {
        // Later: the refresh may come from within a click on that very row.
        if (CConferenceItemWidget *widget = m_rows.takeLast().widget) {
            widget->hide();
            widget->deleteLater();
        }
        delete takeItem(count() - 1);
    }
    const int reused = m_rows.size();
    m_rows.resize(conferences.size());
    for (int index = 0; index < conferences.size(); ++index) {
        const ucmconferenceData &conference = conferences.at(index);
        const int kind = CMeetingRules::kindOf(conference);
        const int notMine = CMeetingRules::notMineFlag(signedInUserId, conference.applicantId);
        Row &row = m_rows[index];
        if (index < reused && row.kind == kind && row.notMine == notMine &&
            CMeetingRules::sameMeeting(row.conference, conference)) {
            continue;
        }
        row.kind = kind;
        row.notMine = notMine;
        row.conference = conference;
        if (row.widget) {
            row.widget->setConference(kind, notMine, conference);
        }
    }
    // New items in one insertion: the view handles each insertion as a whole.
    if (conferences.size() > count()) {
        QStringList empty;
        empty.reserve(conferences.size() - count());
        for (int index = count(); index < conferences.size(); ++index) {
            empty.append(QString());
        }
        insertItems(count(), empty);
    }
    placeRows();
}

void CConferencesListWidget::updateEditorGeometries()
{
    // The rows are not the view's index widgets (it would make and show one
    // for every item, and with thousands of visible sibling widgets each move
    // or repaint of one walks all the others): they follow each item layout
    // here.
    placeRows();
}

void CConferencesListWidget::scrollContentsBy(int dx, int dy)
{
    QListWidget::scrollContentsBy(dx, dy);
    placeRows();
}

QRect CConferencesListWidget::nearRect() const
{
    // A view's height above and below stays shown, so that a scroll step
    // uncovers rows that are there already.
    const QRect view = viewport()->rect();
    return view.adjusted(0, -view.height(), 0, view.height());
}

void CConferencesListWidget::placeRow(int index, const QRect &near)
{
    Row &row = m_rows[index];
    const QRect rect = visualItemRect(item(index));
    const bool shown = rect.isValid() && rect.intersects(near);
    if (!row.widget && !shown) {
        return;
    }
    if (!row.widget) {
        row.widget = newRow(row);
    }
    row.widget->setGeometry(rect);
    row.widget->setVisible(shown);
}

void CConferencesListWidget::placeRows()
{
    if (m_rows.isEmpty()) {
        return;
    }
    const QRect near = nearRect();
    // Rows run down the list in order: the first one reaching into the near
    // part is found by halving, the near ones follow it.
    int low = 0;
    int high = m_rows.size();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (visualItemRect(item(middle)).bottom() < near.top()) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    int end = low;
    while (end < m_rows.size() && visualItemRect(item(end)).top() <= near.bottom()) {
        placeRow(end, near);
        ++end;
    }
    for (int index = 0; index < m_rows.size(); ++index) {
        CConferenceItemWidget *widget = m_rows.at(index).widget;
        if (widget && (index < low || index >= end) && !widget->isHidden()) {
            widget->hide();
        }
    }
}

CConferenceItemWidget *CConferencesListWidget::rowAt(int index)
{
    if (index < 0 || index >= m_rows.size()) {
        return nullptr;
    }
    if (!m_rows.at(index).widget) {
        m_rows[index].widget = newRow(m_rows.at(index));
        placeRow(index, nearRect());
    }
    return m_rows.at(index).widget;
}

int CConferencesListWidget::indexOfItemWidget(QWidget *widget) const
{
    if (!widget) {
        return -1;
    }
    for (int index = 0; index < m_rows.size(); ++index) {
        if (m_rows.at(index).widget == widget) {
            return index;
        }
    }
    return -1;
}

void CConferencesListWidget::retranslate()
{
    for (const Row &row : qAsConst(m_rows)) {
        if (row.widget) {
            row.widget->retranslate();
        }
    }
}

void CConferencesListWidget::updateDpi(double scale)
{
    m_fScale = scale;
    for (const Row &row : qAsConst(m_rows)) {
        if (row.widget) {
            row.widget->updateDpi(scale);
        }
    }
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
