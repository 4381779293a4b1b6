#include "clayoutbackgrounddlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/clinguist.h"
#include "views/sharing/cbackgroundwidget.h"

namespace kd_app {
namespace views {

using models::CCallController;

namespace {

constexpr int DESIGN_WIDTH = 800;
constexpr int DESIGN_HEIGHT = 520;

} // namespace

CLayoutBackgroundDlg *CLayoutBackgroundDlg::getInstance()
{
    static CLayoutBackgroundDlg *instance = new CLayoutBackgroundDlg(nullptr);
    return instance;
}

CLayoutBackgroundDlg::CLayoutBackgroundDlg(QWidget *parent) : CMainWindowFrame(parent)
{
    setObjectName("CLayoutBackgroundDlg");
    setFixedSize(DESIGN_WIDTH, DESIGN_HEIGHT);
    QVBoxLayout *body = bodyLayout();
    body->addStretch(1);
    m_pLblConfNumber = addBodyLabel("m_pLblConfNumber");
    m_pLblCallState = addBodyLabel("m_pLblCallState");
    m_pBtnHangUp = addBodyButton("m_pBtnHangUp");
    body->addStretch(1);

    setScaledStyleSheet("#CLayoutBackgroundDlg { background: #1c1e20; border: 1px solid #555555; }"
                        "#m_pLblTitle, #m_pLblCallState { color: #c9cdd4; }"
                        "#m_pLblConfNumber { color: #ffffff; font-size: {22}px; }");
    slotOnLanguageChanged();

    connect(m_pBtnHangUp, &QPushButton::clicked, this, &CLayoutBackgroundDlg::slotOnBtnHangUp);
    connect(&CCallController::getInstance(), &CCallController::sigCallStatusChanged, this,
            &CLayoutBackgroundDlg::slotOnCallStatusChanged);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CLayoutBackgroundDlg::slotOnLanguageChanged);
}

CLayoutBackgroundDlg::~CLayoutBackgroundDlg() = default;

void CLayoutBackgroundDlg::updateCallText()
{
    const CCallController &call = CCallController::getInstance();
    const QString number =
        call.getPureConfNumber().isEmpty() ? call.getPeerNameOrConfNumber() : call.getPureConfNumber();
    m_pLblConfNumber->setText(number.isEmpty() ? tr("Meeting") : tr("Meeting %1").arg(number));
    switch (call.getCallStatus()) {
    case enums::Dialing:
        m_pLblCallState->setText(tr("Calling..."));
        break;
    case enums::ConfIncoming:
        m_pLblCallState->setText(tr("Incoming call"));
        break;
    case enums::Connected:
        m_pLblCallState->setText(tr("Connected"));
        break;
    default:
        m_pLblCallState->setText(QString());
        break;
    }
}

void CLayoutBackgroundDlg::slotOnCallStatusChanged(enums::CallStatus /*callStatus*/)
{
    updateCallText();
}

void CLayoutBackgroundDlg::slotOnLanguageChanged()
{
    setTitleText(QObject::tr("PRODUCT_NAME"));
    m_pBtnHangUp->setText(tr("Hang Up"));
    updateCallText();
}

void CLayoutBackgroundDlg::slotOnBtnHangUp()
{
    KD_LOG << "hang up";
    CCallController &call = CCallController::getInstance();
    // An incoming call is turned down rather than hung up.
    if (call.getCallStatus() == enums::ConfIncoming) {
        call.declineCall();
        return;
    }
    call.hangUp();
}

void CLayoutBackgroundDlg::showEvent(QShowEvent *event)
{
    updateCallText();
    CMainWindowFrame::showEvent(event);
}

} // namespace views
} // namespace kd_app
