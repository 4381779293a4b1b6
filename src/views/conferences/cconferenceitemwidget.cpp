#include "cconferenceitemwidget.h"

#include <QDateTime>
#include <QMouseEvent>

#include "models/cmeetingrules.h"
#include "ui_cconferenceitemwidget.h"
#include "views/conferences/cconferencesimages.h"

using kd_app::models::CMeetingRules;

namespace {

QString badgeColour(int kind)
{
    switch (kind) {
    case CMeetingRules::Scheduled:
        return QStringLiteral("#4381ff");
    case CMeetingRules::Ongoing:
        return QStringLiteral("#28c983");
    case CMeetingRules::Fixed:
        return QStringLiteral("#ff9932");
    default:
        return QStringLiteral("%1");
    }
}

// Sizes by scale: up to 1, above 1 and below 2, from 2.
int byScale(double scale, int one, int oneAndHalf, int two)
{
    return scale <= 1 ? one : scale < 2 ? oneAndHalf : two;
}

} // namespace

CConferenceItemWidget::CConferenceItemWidget(QWidget *parent)
    : QWidget(parent), m_pUi(std::make_unique<Ui::CConferenceItemWidget>())
{
    m_pUi->setupUi(this);
    connect(m_pUi->pBtn_join, &QPushButton::clicked, this, &CConferenceItemWidget::signal_Join_clicked);
    connect(m_pUi->pBtn_end, &QPushButton::clicked, this, &CConferenceItemWidget::signal_Delete_clicked);
    connect(m_pUi->pBtn_edit, &QPushButton::clicked, this, &CConferenceItemWidget::signal_Edit_clicked);
    connect(m_pUi->pBtn_delete, &QPushButton::clicked, this, &CConferenceItemWidget::signal_DeleteEdit_clicked);
}

CConferenceItemWidget::~CConferenceItemWidget() = default;

void CConferenceItemWidget::setConference(int kind, int notMine, const ucmconferenceData &conference)
{
    m_nKind = kind;
    m_nNotMine = notMine;
    m_conference = conference;
    Ui::CConferenceItemWidget &ui = *m_pUi;
    ui.label_name->setText(conference.name);
    ui.label_time->setText(QDateTime::fromMSecsSinceEpoch(conference.startTime).toString("yyyy/MM/dd hh:mm"));
    ui.label_meetingid->setText(QString::number(conference.numericId));
    ui.label_applicant->setText(conference.applicantDisplayName);
    retranslate();
    showKind();
    for (QLabel *label : {ui.label_name, ui.label_time, ui.label_meetingid, ui.label_applicant}) {
        label->adjustSize();
    }
    updateDpi(m_fScale);
}

void CConferenceItemWidget::showKind()
{
    Ui::CConferenceItemWidget &ui = *m_pUi;
    struct Buttons
    {
        bool join, end, edit, remove;
    };
    Buttons shown{};
    switch (m_nKind) {
    case CMeetingRules::Scheduled:
        shown = {false, false, true, true};
        break;
    case CMeetingRules::Ongoing:
        shown = {true, true, false, false};
        break;
    case CMeetingRules::Fixed:
        shown = {true, false, false, false};
        ui.label_time->clear();
        break;
    default:
        return;
    }
    ui.pBtn_join->setVisible(shown.join);
    ui.pBtn_end->setVisible(shown.end);
    ui.pBtn_edit->setVisible(shown.edit);
    ui.pBtn_delete->setVisible(shown.remove);
    if (m_nNotMine == 1) {
        ui.pBtn_end->hide();
        ui.pBtn_edit->hide();
        ui.pBtn_delete->hide();
    }
}

void CConferenceItemWidget::retranslate()
{
    Ui::CConferenceItemWidget &ui = *m_pUi;
    switch (m_nKind) {
    case CMeetingRules::Scheduled:
        ui.label_kind->setText(tr("Schedule"));
        break;
    case CMeetingRules::Ongoing:
        ui.label_kind->setText(tr("Ongoing"));
        break;
    case CMeetingRules::Fixed:
        ui.label_kind->setText(tr("Fixed"));
        break;
    default:
        break;
    }
    ui.label_time_title->setText(tr("Time:"));
    ui.label_meetingid_title->setText(tr("Meeting ID:"));
    ui.label_applicant_title->setText(tr("Applicant:"));
    for (QLabel *label : {ui.label_kind, ui.label_time_title, ui.label_meetingid_title, ui.label_applicant_title}) {
        label->adjustSize();
    }
}

void CConferenceItemWidget::updateDpi(double scale)
{
    m_fScale = scale > 0 ? scale : 1.0;
    const double s = m_fScale;
    Ui::CConferenceItemWidget &ui = *m_pUi;
    ui.horizontalLayout_main->setContentsMargins(int(10 * s), 0, int(10 * s), 0);
    ui.verticalLayout_text->setContentsMargins(0, int(8 * s), 0, int(8 * s));
    ui.horizontalLayout_first->setSpacing(int(10 * s));
    ui.horizontalLayout_second->setSpacing(int(30 * s));
    for (QLayout *pair : {ui.horizontalLayout_time, ui.horizontalLayout_meetingid, ui.horizontalLayout_applicant,
                          ui.horizontalLayout_buttons}) {
        pair->setSpacing(int(10 * s));
    }
    const int button = int(24 * s);
    for (QPushButton *b : {ui.pBtn_join, ui.pBtn_end, ui.pBtn_edit, ui.pBtn_delete}) {
        b->setFixedSize(button, button);
    }
    applyStyles();
    for (QLabel *label : findChildren<QLabel *>()) {
        label->adjustSize();
    }
}

void CConferenceItemWidget::applyStyles()
{
    if (qFuzzyCompare(m_fStyledScale, m_fScale) && m_nStyledKind == m_nKind) {
        return;
    }
    m_fStyledScale = m_fScale;
    m_nStyledKind = m_nKind;
    const double s = m_fScale;
    const QString px = QStringLiteral("%1px");
    const QString small = px.arg(byScale(s, 12, 18, 24));
    const QString suffix = conferencesImageSuffix(s);
    const auto button = [&suffix](const char *name, const QString &image) {
        return QStringLiteral("#%1 { border-image: url(%2); }\n").arg(QLatin1String(name), image.arg(suffix));
    };
    // A row made inside a list that already has its looks gets its labels
    // polished early (a label's size is asked for before this); the row's
    // sheet then reaches them only when the row itself is polished first,
    // so that setting the sheet polishes the row's children again.
    ensurePolished();
    // One sheet for the whole row: a sheet of its own on each label would
    // be parsed and matched once per label, and a list holds thousands of rows.
    setStyleSheet(QStringLiteral("#label_kind { color: white; font-size: %1; background: %5; border-radius: %2; "
                                 "padding-left: %3; padding-right: %3; margin-top: %4; margin-bottom: %4; }\n")
                      .arg(px.arg(byScale(s, 10, 15, 20)), px.arg(byScale(s, 4, 6, 8)), px.arg(byScale(s, 6, 9, 12)),
                           px.arg(byScale(s, 2, 3, 4)), QStringLiteral("%1"))
                      .arg(badgeColour(m_nKind)) +
                  QStringLiteral("#label_name { color: black; font-size: %1; }\n").arg(px.arg(byScale(s, 14, 21, 28))) +
                  QStringLiteral("#label_time_title, #label_meetingid_title, #label_applicant_title "
                                 "{ color: #919191; font-size: %1; }\n")
                      .arg(small) +
                  QStringLiteral("#label_time, #label_meetingid, #label_applicant { color: #313131; font-size: %1; }\n")
                      .arg(small) +
                  button("pBtn_join", QStringLiteral(":/resources/images/conferences/icon_list_meeting%1.png")) +
                  button("pBtn_end", QStringLiteral(":/resources/images/conferences/icon_list_end%1.png")) +
                  button("pBtn_edit", QStringLiteral(":/resources/images/conferences/icon_list_edit%1.png")) +
                  button("pBtn_delete", QStringLiteral(":/resources/images/conferences/icon_list_delete%1.png")));
}

void CConferenceItemWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit signal_MeetingDetail_clicked();
    }
}
