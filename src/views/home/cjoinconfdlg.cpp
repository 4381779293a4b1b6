#include "cjoinconfdlg.h"

#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/clinguist.h"
#include "ui_cjoinconfdlg.h"
#include "views/home/cjoinconfrules.h"

namespace kd_app {
namespace views {

using helpers::CUserConfigUtils;

CJoinConfDlg::CJoinConfDlg(const QString &number, const QString &password, bool isAudioOnly, QWidget *parent)
    : CBaseDlg(parent), ui(std::make_unique<Ui::CJoinConfDlg>()), m_qstrNumber(number), m_qstrPassword(password),
      m_bIsAudioOnly(isAudioOnly)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);

    const CJoinConfFields fields = CJoinConfFields::of(*ui);
    CJoinConfRules::hideAudioChoicesIfDisabled(fields);
    CJoinConfRules::setUpNumberField(fields, this);
    CJoinConfRules::retranslate(fields);

    connect(ui->m_pBtnClose, &QPushButton::clicked, this, &CJoinConfDlg::close);
    connect(ui->m_pBtnVideoJoin, &QPushButton::clicked, this, &CJoinConfDlg::slotOnVideoJoin);
    connect(ui->m_pBtnAudioJoin, &QPushButton::clicked, this, &CJoinConfDlg::slotOnAudioJoin);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CJoinConfDlg::slotOnLanguageChanged);
}

CJoinConfDlg::~CJoinConfDlg() = default;

void CJoinConfDlg::slotOnLanguageChanged()
{
    ui->retranslateUi(this);
    // The generated translation empties the button texts and the number's
    // placeholder; a dialog left open across a language change keeps them.
    CJoinConfRules::retranslate(CJoinConfFields::of(*ui));
}

void CJoinConfDlg::showEvent(QShowEvent *event)
{
    KD_LOG << "number given:" << !m_qstrNumber.isEmpty();
    CJoinConfCombo *combo = ui->m_pCmbBoxConfNumber;
    if (m_qstrNumber.isEmpty()) {
        CJoinConfRules::fillHistory(CJoinConfFields::of(*ui), CUserConfigUtils::getInstance()->getConfIds());
    } else {
        combo->setText(m_qstrNumber);
        combo->setEnabled(false);
        ui->m_pEditPassword->setText(m_qstrPassword);
        ui->m_pEditPassword->setEnabled(false);
    }
    CJoinConfRules::loadChoices(CJoinConfFields::of(*ui));
    KD_LOG << "Update control values, conf numbers count:" << combo->count();
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
    centerWindowOnScreen();
}

void CJoinConfDlg::onDpiChanged()
{
    CBaseDlg::onDpiChanged();
    setStyleSheet(QString());
    setStyleSheetByScale(":/resources/qss/join-conf-dlg");
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
    m_nTitleHeight = ui->m_pWgtTitlebar->height();
    ui->m_pCmbBoxConfNumber->updateDpi(m_fStretchFactor);
}

void CJoinConfDlg::slotOnVideoJoin()
{
    KD_LOG << "video join";
    joinConf(false);
}

void CJoinConfDlg::slotOnAudioJoin()
{
    KD_LOG << "audio join";
    joinConf(true);
}

void CJoinConfDlg::joinConf(bool isAudioOnly)
{
    KD_LOG << "isAudioOnly:" << isAudioOnly;
    if (!CJoinConfRules::join(CJoinConfFields::of(*ui), isAudioOnly)) {
        return;
    }
    close();
}

} // namespace views
} // namespace kd_app
