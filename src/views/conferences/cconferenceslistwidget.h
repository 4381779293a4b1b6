#pragma once

#include <QListWidget>
#include <QVector>

#include "models/ucmdata.h"

class CConferenceItemWidget;

// The meetings list: one row widget per meeting, in the server's order. A
// row's widget is made when it first comes near the visible part of the list
// (or is asked for), so that thousands of meetings cost an item each, not a
// widget tree each.
class CConferencesListWidget : public QListWidget
{
    Q_OBJECT

public:
    explicit CConferencesListWidget(QWidget *parent = nullptr);
    ~CConferencesListWidget() override;

    void addConferenceItem(int kind, int notMine, const ucmconferenceData &conference);
    // Shows the meetings, reusing the rows that are there: a refresh with an
    // unchanged list touches no row and keeps the scroll position.
    void setConferences(const QList<ucmconferenceData> &conferences, quint64 signedInUserId);
    int indexOfItemWidget(QWidget *widget) const;
    // The row widget of the meeting at index, made if it was not yet.
    CConferenceItemWidget *rowAt(int index);
    void retranslate();
    void updateDpi(double scale);
    double scale() const { return m_fScale; }

signals:
    void signal_MeetingDetail_clicked(int index);
    void signal_Join_clicked(int index);
    void signal_Delete_clicked(int index);
    void signal_Edit_clicked(int index);
    void signal_DeleteEdit_clicked(int index);

public slots:
    void slot_MeetingDetail_clicked();
    void slot_Join_clicked();
    void slot_Delete_clicked();
    void slot_Edit_clicked();
    void slot_DeleteEdit_clicked();

protected:
    void updateEditorGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Row
    {
        int kind = -1;
        int notMine = 0;
        ucmconferenceData conference;
        CConferenceItemWidget *widget = nullptr;
    };

    CConferenceItemWidget *newRow(const Row &row);
    // Makes the widgets of the rows in or near the visible part of the list,
    // places every row widget made and shows only those near.
    void placeRows();
    void placeRow(int index, const QRect &near);
    QRect nearRect() const;

    QVector<Row> m_rows;
    double m_fScale = 1.0;
};
