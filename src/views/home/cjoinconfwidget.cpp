#include "cjoinconfwidget.h"

#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/clinguist.h"
#include "ui_cjoinconfwidget.h"
#include "views/home/cjoinconfrules.h"

namespace kd_app {
namespace views {

using helpers::CUserConfigUtils;

CJoinConfWidget::CJoinConfWidget(QWidget *parent) : CBaseWgt(parent), ui(std::make_unique<Ui::CJoinConfWidget>())
{
    ui->setupUi(this);
    const CJoinConfFields fields = CJoinConfFields::of(*ui);
    CJoinConfRules::setUpNumberField(fields, this);
    CJoinConfRules::retranslate(fields);

    connect(ui->m_pBtnVideoJoin, &QPushButton::clicked, this, &CJoinConfWidget::slotOnVideoJoin);
    connect(ui->m_pBtnAudioJoin, &QPushButton::clicked, this, &CJoinConfWidget::slotOnAudioJoin);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CJoinConfWidget::slotOnLanguageChanged);
}

CJoinConfWidget::~CJoinConfWidget() = default;

void CJoinConfWidget::slotOnLanguageChanged()
{
    ui->retranslateUi(this);
    CJoinConfRules::retranslate(CJoinConfFields::of(*ui));
}

void CJoinConfWidget::showEvent(QShowEvent *event)
{
    KD_LOG << "show";
    const CJoinConfFields fields = CJoinConfFields::of(*ui);
    CJoinConfRules::hideAudioChoicesIfDisabled(fields);
    CJoinConfRules::fillHistory(fields, CUserConfigUtils::getInstance()->getConfIds());
    ui->m_pEditPassword->clear();
    CJoinConfRules::loadChoices(fields);
    KD_LOG << "Update control values, conf numbers count:" << ui->m_pCmbBoxConfNumber->count();
    // The scale comes from the home window alone, so the base handling
    // (which would read it from the screen) is left out.
    QWidget::showEvent(event);
}

void CJoinConfWidget::updateDpi(double scale)
{
    m_fScale = scale > 0 ? scale : 1.0;
    m_fStretchFactor = m_fScale;
    setStyleSheet(QString());
    setStyleSheetByScale(":/resources/qss/join-conf-widget");
    ui->m_pCmbBoxConfNumber->updateDpi(m_fScale);
}

void CJoinConfWidget::slotOnVideoJoin()
{
    KD_LOG << "video join";
    joinConf(false);
}

void CJoinConfWidget::slotOnAudioJoin()
{
    KD_LOG << "audio join";
    joinConf(true);
}

void CJoinConfWidget::joinConf(bool isAudioOnly)
{
    KD_LOG << "isAudioOnly:" << isAudioOnly;
    CJoinConfRules::join(CJoinConfFields::of(*ui), isAudioOnly);
}

} // namespace views
} // namespace kd_app
