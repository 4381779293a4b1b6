#include "cconferencesselectuserpage.h"

#include "ui_cconferencesselectuserpage.h"
#include "views/base/cstyledbackground.h"
#include "views/conferences/cconferencesimages.h"
#include "views/contacts/ccontactswidget.h"

CConferencesSelectuserPage::CConferencesSelectuserPage(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::CConferencesSelectuserPage>())
{
    m_pUi->setupUi(this);
    m_pUi->widget->enterPickerMode();
    connect(m_pUi->back_Btn, &QToolButton::clicked, this, &CConferencesSelectuserPage::signal_back_clicked);
    connect(m_pUi->pBtn_ok, &QPushButton::clicked, this, &CConferencesSelectuserPage::signal_ok_clicked);
}

CConferencesSelectuserPage::~CConferencesSelectuserPage() = default;

kd_app::views::CContactsWidget *CConferencesSelectuserPage::contactsPage() const
{
    return m_pUi->widget;
}

QList<int> CConferencesSelectuserPage::getSelectedUsers() const
{
    return m_pUi->widget->getSelectedUsers();
}

void CConferencesSelectuserPage::setSelectedUsers(const QList<int> &ids)
{
    m_pUi->widget->setSelectedUsers(ids);
}

void CConferencesSelectuserPage::refreshContacts()
{
    m_pUi->widget->refreshContacts();
}

void CConferencesSelectuserPage::retranslate()
{
    m_pUi->back_Btn->setText(tr("Back"));
    m_pUi->pBtn_ok->setText(tr("Ok"));
}

void CConferencesSelectuserPage::updateDpi(double scale)
{
    m_fStretchFactor = scale > 0 ? scale : 1.0;
    setStyleSheet(QString());
    setStyleSheetByScale(QStringLiteral(":/resources/qss/conferences-selectuser-page"));
    conferencesBackIcon(m_pUi->back_Btn, m_fStretchFactor);
    m_pUi->widget->updateDpi(m_fStretchFactor);
}

void CConferencesSelectuserPage::paintEvent(QPaintEvent *)
{
    kd_app::views::paintStyledBackground(this);
}
