#include "chomedlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "views/home/cjoinconfdlg.h"
#include "views/home/cjoinconfwidget.h"

namespace kd_app {
namespace views {

using models::CLoginManager;

namespace {

constexpr int DESIGN_WIDTH = 857;
constexpr int DESIGN_HEIGHT = 599;

} // namespace

CHomeDlg *CHomeDlg::getInstance()
{
    static CHomeDlg *instance = new CHomeDlg(nullptr);
    return instance;
}

CHomeDlg::CHomeDlg(QWidget *parent) : CMainWindowFrame(parent)
{
    setObjectName("CHomeDlg");
    setFixedSize(DESIGN_WIDTH, DESIGN_HEIGHT);
    QVBoxLayout *body = bodyLayout();
    body->setContentsMargins(20, 0, 20, 20);
    body->addStretch(1);
    m_pJoinConfWidget = new CJoinConfWidget(nullptr);
    body->addWidget(m_pJoinConfWidget);
    m_pLblUser = addBodyLabel("m_pLblUser");
    m_pBtnJoinConf = addBodyButton("m_pBtnJoinConf");
    m_pBtnSignOut = addBodyButton("m_pBtnSignOut");
    body->addStretch(1);

    setScaledStyleSheet("#CHomeDlg { background: #ffffff; border: 1px solid #555555; }"
                        "#m_pWgtTitlebar { background: #2b2d30; }"
                        "#m_pLblTitle { color: #ffffff; }"
                        "#m_pLblUser { font-size: {18}px; color: #313131; }");
    slotOnLanguageChanged();

    connect(m_pBtnSignOut, &QPushButton::clicked, this, &CHomeDlg::slotOnBtnSignOut);
    connect(m_pBtnJoinConf, &QPushButton::clicked, this, &CHomeDlg::slotOnBtnJoinConfClicked);
    connect(&CLoginManager::getInstance(), &CLoginManager::loginStatusChanged, this,
            &CHomeDlg::slotOnLoginStatusChanged);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CHomeDlg::slotOnLanguageChanged);
}

CHomeDlg::~CHomeDlg() = default;

void CHomeDlg::updateUserText()
{
    const CLoginManager &loginManager = CLoginManager::getInstance();
    const bool guest = loginManager.getLoginStatus() == enums::AnonymousLoggedIn;
    m_pJoinConfWidget->setVisible(guest);
    m_pLblUser->setVisible(!guest);
    m_pBtnJoinConf->setVisible(!guest);
    m_pBtnJoinConf->setText(tr("Join a Meeting"));
    if (loginManager.getLoginStatus() == enums::LoggedIn) {
        QString name = loginManager.getDisplayName();
        if (name.isEmpty()) {
            name = helpers::CUserConfigUtils::getInstance()->getUser();
        }
        m_pLblUser->setText(name.isEmpty() ? tr("Signed in") : tr("Signed in as %1").arg(name));
        m_pBtnSignOut->setText(tr("Sign Out"));
        return;
    }
    m_pLblUser->setText(tr("You are not signed in."));
    m_pBtnSignOut->setText(tr("Back to Login"));
}

void CHomeDlg::onDpiChanged()
{
    CMainWindowFrame::onDpiChanged();
    m_pJoinConfWidget->updateDpi(m_fStretchFactor);
}

void CHomeDlg::slotOnBtnJoinConfClicked()
{
    KD_LOG << "join a meeting";
    slotJoinConf(QString(), QString(), false, QString());
    KD_LOG << "exec finised for Join conf dlg";
}

void CHomeDlg::slotJoinConf(QString number, QString password, bool isAudioOnly, QString peerName)
{
    Q_UNUSED(peerName)
    KD_LOG << "number:" << number << ", isAudioOnly:" << isAudioOnly;
    auto *dialog = new CJoinConfDlg(number, password, isAudioOnly, this);
    dialog->exec();
    delete dialog;
}

void CHomeDlg::slotOnLoginStatusChanged(enums::LoginStatus /*loginStatus*/)
{
    updateUserText();
}

void CHomeDlg::slotOnLanguageChanged()
{
    setTitleText(QObject::tr("PRODUCT_NAME"));
    updateUserText();
}

void CHomeDlg::slotOnBtnSignOut()
{
    KD_LOG << "sign out";
    CLoginManager::getInstance().logout();
}

void CHomeDlg::showEvent(QShowEvent *event)
{
    updateUserText();
    CMainWindowFrame::showEvent(event);
}

void CHomeDlg::updateWebPages()
{
    // The embedded meetings and contacts pages are not part of this window
    // yet; there is nothing to reload.
    KD_LOG << "updateWebPages";
}

void CHomeDlg::stopWebPages()
{
    KD_LOG << "stopWebPages";
}

} // namespace views
} // namespace kd_app
