#pragma once

#include <memory>

#include <QList>

#include "models/ucmdata.h"
#include "views/base/cdraggablewgt.h"

namespace Ui {
class CAttendessWidgets;
}

namespace kd_app {
namespace views {

class CAttendeesListview;

// The attendee window: the participants of the running meeting as the
// conference-management server last listed them, in a video tab and an
// audio-only tab. It never asks the server itself; the attendee button's
// polling keeps the list current.
class CAttendessWidgets : public CDraggableWgt
{
    Q_OBJECT

public:
    explicit CAttendessWidgets(QWidget *parent);
    ~CAttendessWidgets() override;

    // Asks the REST client for the participants of the current meeting; it
    // sends nothing without a token or a meeting number.
    static void requestParticipants();

    int videoCount() const { return m_nVideoCount; }
    int audioCount() const { return m_nAudioCount; }
    CAttendeesListview *videoList() const;
    CAttendeesListview *audioList() const;
    QString tabText(bool video) const;

public slots:
    void slot_getParticipants_succeed();
    void slotOnLanguageChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    static void setupList(CAttendeesListview *view, bool video);
    static void setParticipants(CAttendeesListview *view, const QList<ucmParticipantData> &participants);
    static void setListScale(CAttendeesListview *view, double scale);
    static int listRowCount(const CAttendeesListview *view);
    void refresh();
    void updateTabTexts();

    std::unique_ptr<Ui::CAttendessWidgets> ui;
    int m_nAudioCount = 0;
    int m_nVideoCount = 0;
};

} // namespace views
} // namespace kd_app
