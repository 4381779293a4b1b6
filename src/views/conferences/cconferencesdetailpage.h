#pragma once

#include <memory>

#include "views/base/cbasewgt.h"

namespace Ui {
class CConferencesDetailPage;
}

class CConferencestableview;

// One meeting, read-only, with the actions the user may take on it: Edit,
// Immediate and Delete for one's own scheduled meeting, Join (and End for
// its creator) for a running one, Join for a permanent room.
class CConferencesDetailPage : public kd_app::views::CBaseWgt
{
    Q_OBJECT

public:
    explicit CConferencesDetailPage(QWidget *parent = nullptr);
    ~CConferencesDetailPage() override;

    void setType(int kind);
    // Call after setType: it narrows what setType showed.
    void setNotMine(int notMine);
    void setTitle(const QString &title);
    void setStartTime(qint64 ms);
    void setDuration(qint64 ms);
    void setNumericId(int numericId);
    void setPassword(const QString &password);
    void setDescription(const QString &description);
    void setParticipants(const QList<int> &userIds);
    void setConferenceId(int id);
    int conferenceId() const { return m_nConferenceId; }
    void retranslate();
    void updateDpi(double scale);

    CConferencestableview *participantsGrid() const;

signals:
    void signal_back_clicked();
    void signal_Edit_clicked(int id);
    void signal_CallNow_clicked(int id);
    void signal_DeleteEdit_clicked(int id);
    void signal_ConfJoin_clicked(int id);
    void signal_Delete_clicked(int id);

public slots:
    void slot_Edit_clicked();
    void slot_CallNow_clicked();
    void slot_DeleteEdit_clicked();
    void slot_ConfJoin_clicked();
    void slot_Delete_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<Ui::CConferencesDetailPage> m_pUi;
    int m_nKind = 0;
    int m_nNotMine = 0;
    int m_nConferenceId = 0;
};
