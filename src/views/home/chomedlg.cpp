#include "chomedlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"

namespace kd_app {
namespace views {

using models::CLoginManager;

namespace {

constexpr int DESIGN_WIDTH = 800;
constexpr int DESIGN_HEIGHT = 520;

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
    body->addStretch(1);
    m_pLblUser = addBodyLabel("m_pLblUser");
    m_pBtnSignOut = addBodyButton("m_pBtnSignOut");
    body->addStretch(1);

    setScaledStyleSheet("#CHomeDlg { background: #ffffff; border: 1px solid #555555; }"
                        "#m_pWgtTitlebar { background: #2b2d30; }"
                        "#m_pLblTitle { color: #ffffff; }"
                        "#m_pLblUser { font-size: {18}px; color: #313131; }");
    slotOnLanguageChanged();

    connect(m_pBtnSignOut, &QPushButton::clicked, this, &CHomeDlg::slotOnBtnSignOut);
    connect(&CLoginManager::getInstance(), &CLoginManager::loginStatusChanged, this,
            &CHomeDlg::slotOnLoginStatusChanged);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CHomeDlg::slotOnLanguageChanged);
}

CHomeDlg::~CHomeDlg() = default;

void CHomeDlg::updateUserText()
{
    const CLoginManager &loginManager = CLoginManager::getInstance();
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
