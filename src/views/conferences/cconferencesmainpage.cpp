#include "cconferencesmainpage.h"

#include "models/cloginmanager.h"
#include "ui_cconferencesmainpage.h"
#include "views/base/cstyledbackground.h"
#include "views/conferences/cconferenceslistwidget.h"
#include "views/conferences/cconferencestoolbtn.h"

CConferencesMainPage::CConferencesMainPage(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::CConferencesMainPage>())
{
    m_pUi->setupUi(this);
    m_pUi->myroom_widget->setType(CConferencesToolBtn::MyRoom);
    m_pUi->schedule_widget->setType(CConferencesToolBtn::Schedule);
    m_pUi->join_widget->setType(CConferencesToolBtn::Join);
    connect(m_pUi->myroom_widget, &CConferencesToolBtn::signal_clicked, this,
            &CConferencesMainPage::signal_myroom_clicked);
    connect(m_pUi->schedule_widget, &CConferencesToolBtn::signal_clicked, this,
            &CConferencesMainPage::signal_schedule_clicked);
    connect(m_pUi->join_widget, &CConferencesToolBtn::signal_clicked, this, &CConferencesMainPage::signal_join_clicked);
    connect(m_pUi->pBtn_confjoin, &QPushButton::clicked, this, &CConferencesMainPage::slot_ConfJoin_clicked);
    CConferencesListWidget *list = m_pUi->listWidget;
    connect(list, &CConferencesListWidget::signal_MeetingDetail_clicked, this,
            &CConferencesMainPage::signal_MeetingDetail_clicked);
    connect(list, &CConferencesListWidget::signal_Join_clicked, this, &CConferencesMainPage::signal_Join_clicked);
    connect(list, &CConferencesListWidget::signal_Delete_clicked, this, &CConferencesMainPage::signal_Delete_clicked);
    connect(list, &CConferencesListWidget::signal_Edit_clicked, this, &CConferencesMainPage::signal_Edit_clicked);
    connect(list, &CConferencesListWidget::signal_DeleteEdit_clicked, this,
            &CConferencesMainPage::signal_DeleteEdit_clicked);
    m_pUi->myroom_widget->hide();
}

CConferencesMainPage::~CConferencesMainPage() = default;

CConferencesListWidget *CConferencesMainPage::listWidget() const
{
    return m_pUi->listWidget;
}

void CConferencesMainPage::setConferences(const QList<ucmconferenceData> &conferences)
{
    m_pUi->listWidget->setConferences(conferences,
                                      kd_app::models::CLoginManager::getInstance().getLoginUserInfo().userId);
}

void CConferencesMainPage::setMyRoomId(const QString &number)
{
    m_strMyRoomId = number;
    m_pUi->label_meetingid_value->setText(number);
}

void CConferencesMainPage::retranslate()
{
    m_pUi->retranslateUi(this);
    m_pUi->myroom_widget->retranslate();
    m_pUi->schedule_widget->retranslate();
    m_pUi->join_widget->retranslate();
    m_pUi->listWidget->retranslate();
}

void CConferencesMainPage::updateDpi(double scale)
{
    m_fStretchFactor = scale > 0 ? scale : 1.0;
    setStyleSheet(QString());
    setStyleSheetByScale(QStringLiteral(":/resources/qss/conferences-main-page"));
    for (CConferencesToolBtn *tile : {m_pUi->myroom_widget, m_pUi->schedule_widget, m_pUi->join_widget}) {
        tile->updateDpi(m_fStretchFactor);
    }
    m_pUi->listWidget->updateDpi(m_fStretchFactor);
}

void CConferencesMainPage::slot_ConfJoin_clicked()
{
    emit signal_ConfJoin_clicked(m_strMyRoomId);
}

void CConferencesMainPage::paintEvent(QPaintEvent *)
{
    kd_app::views::paintStyledBackground(this);
}
