#pragma once

#include <memory>

#include <QWidget>

#include "models/ucmdata.h"

namespace Ui {
class CConferenceItemWidget;
}

// One row of the meetings list: the kind badge, name, start, number and
// creator, and the join, end, edit and delete buttons the meeting allows.
class CConferenceItemWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CConferenceItemWidget(QWidget *parent = nullptr);
    ~CConferenceItemWidget() override;

    void setConference(int kind, int notMine, const ucmconferenceData &conference);
    void updateDpi(double scale);
    void retranslate();

    int kind() const { return m_nKind; }
    int notMine() const { return m_nNotMine; }
    const ucmconferenceData &conference() const { return m_conference; }
    double scale() const { return m_fScale; }
    void setScale(double scale) { m_fScale = scale > 0 ? scale : 1.0; }

signals:
    void signal_MeetingDetail_clicked();
    void signal_Join_clicked();
    void signal_Delete_clicked();
    void signal_Edit_clicked();
    void signal_DeleteEdit_clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void showKind();
    void applyStyles();

    int m_nKind = -1;
    int m_nNotMine = 0;
    ucmconferenceData m_conference;
    double m_fScale = 1.0;
    std::unique_ptr<Ui::CConferenceItemWidget> m_pUi;
    // What the style sheets were last made for; making them again restyles
    // every label, which long lists cannot afford on each refresh.
    double m_fStyledScale = 0;
    int m_nStyledKind = -2;
};
