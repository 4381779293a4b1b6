#pragma once

#include <QListWidget>

#include "models/ucmdata.h"

class CConferenceItemWidget;

// The meetings list: one row widget per meeting, in the server's order.
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
    CConferenceItemWidget *rowAt(int index) const;
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
    CConferenceItemWidget *newRow(int kind, int notMine, const ucmconferenceData &conference);
    // Places every row widget and shows only those in or near the visible
    // part of the list.
    void placeRows();

    double m_fScale = 1.0;
};
