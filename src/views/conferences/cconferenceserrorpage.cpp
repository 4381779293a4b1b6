#include "cconferenceserrorpage.h"

#include "ui_cconferenceserrorpage.h"

CConferencesErrorPage::CConferencesErrorPage(QWidget *parent)
    : QWidget(parent), m_pUi(std::make_unique<Ui::CConferencesErrorPage>())
{
    m_pUi->setupUi(this);
    connect(m_pUi->back_Btn, &QPushButton::clicked, this, &CConferencesErrorPage::signal_back_clicked);
}

CConferencesErrorPage::~CConferencesErrorPage() = default;
