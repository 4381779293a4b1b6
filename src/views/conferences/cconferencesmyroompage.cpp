#include "cconferencesmyroompage.h"

#include "ui_cconferencesmyroompage.h"
#include "views/base/cstyledbackground.h"
#include "views/conferences/cconferencesimages.h"

CConferencesMyroomPage::CConferencesMyroomPage(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::CConferencesMyroomPage>())
{
    m_pUi->setupUi(this);
    connect(m_pUi->back_Btn, &QToolButton::clicked, this, &CConferencesMyroomPage::signal_back_clicked);
    connect(m_pUi->pBtn_confjoin, &QPushButton::clicked, this, &CConferencesMyroomPage::slot_ConfJoin_clicked);
}

CConferencesMyroomPage::~CConferencesMyroomPage() = default;

void CConferencesMyroomPage::setMyRoomId(const QString &number)
{
    m_strMyRoomId = number;
    m_pUi->label_meetingid_value->setText(number);
}

void CConferencesMyroomPage::retranslate()
{
    m_pUi->retranslateUi(this);
}

void CConferencesMyroomPage::updateDpi(double scale)
{
    m_fStretchFactor = scale > 0 ? scale : 1.0;
    setStyleSheet(QString());
    setStyleSheetByScale(QStringLiteral(":/resources/qss/conferences-myroom-page"));
    conferencesBackIcon(m_pUi->back_Btn, m_fStretchFactor);
}

void CConferencesMyroomPage::slot_ConfJoin_clicked()
{
    emit signal_ConfJoin_clicked(m_strMyRoomId);
}

void CConferencesMyroomPage::paintEvent(QPaintEvent *)
{
    kd_app::views::paintStyledBackground(this);
}
