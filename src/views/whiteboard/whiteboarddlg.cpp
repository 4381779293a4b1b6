#include "whiteboarddlg.h"

#include <QLabel>
#include <QUrlQuery>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "views/whiteboard/whiteboardtopwidget.h"

namespace kd_app {
namespace views {

using models::CCallController;

WhiteBoardDlg::WhiteBoardDlg(QWidget *parent) : CBaseDlg(parent)
{
    setObjectName("WhiteBoardDlg");
    resize(1280, 760);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pTopWidget = new WhiteBoardTopWidget(this);
    m_pLblPage = new QLabel(this);
    m_pLblPage->setObjectName("m_pLblPage");
    m_pLblPage->setAlignment(Qt::AlignCenter);
    m_pLblPage->setTextFormat(Qt::PlainText);
    layout->addWidget(m_pTopWidget);
    layout->addWidget(m_pLblPage, 1);
    setStyleSheet("#WhiteBoardDlg{background-color: #ffffff; border: 1px solid #555555;}");
    connect(m_pTopWidget, &WhiteBoardTopWidget::sigClose, this, &WhiteBoardDlg::slotOnClose);
}

WhiteBoardDlg::~WhiteBoardDlg() = default;

void WhiteBoardDlg::isSendWhiteBoard(bool send)
{
    KD_LOG << "send:" << send;
    m_bIsSender = send;
}

void WhiteBoardDlg::updateWebPage()
{
    const CCallController &call = CCallController::getInstance();
    m_pageUrl = QUrl(call.getAcsServer() + "/acs/index.html");
    QUrlQuery query;
    query.addQueryItem("jwt", call.getAcsJsonWebToken());
    m_pageUrl.setQuery(query);
    KD_LOG << "page:" << call.getAcsServer();
    m_pLblPage->setText(tr("Whiteboard"));
}

void WhiteBoardDlg::releaseWebPage()
{
    KD_LOG;
    m_pageUrl.clear();
    m_pLblPage->clear();
}

void WhiteBoardDlg::hideTitleBar()
{
    m_pTopWidget->hide();
}

void WhiteBoardDlg::slotOnClose()
{
    KD_LOG << "sender:" << m_bIsSender;
    hide();
    if (m_bIsSender) {
        emit sigHiddenWhiteBoard();
    }
}

} // namespace views
} // namespace kd_app
