#include "cattendesswidgets.h"

#include <QPushButton>

#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/cucmapimanager.h"
#include "ui_cattendesswidgets.h"
#include "views/call/attendees/cattendeesdelegate.h"
#include "views/call/attendees/cattendeeslistmodel.h"
#include "views/call/attendees/cattendeeslistview.h"

namespace kd_app {
namespace views {

using models::CUCMApiManager;

namespace {

const char STYLE_BASE[] = ":/resources/qss/attendess-widget";

} // namespace

CAttendessWidgets::CAttendessWidgets(QWidget *parent)
    : CDraggableWgt(parent), ui(std::make_unique<Ui::CAttendessWidgets>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setDragTitleBar(ui->frame_title);
    setupList(ui->listView_audio, false);
    setupList(ui->listView_video, true);
    ui->tabWidget->setCurrentWidget(ui->tab_video);
    updateTabTexts();

    connect(ui->close, &QPushButton::clicked, this, &CAttendessWidgets::close);
    connect(CUCMApiManager::getInstance(), &CUCMApiManager::signal_getParticipants_succeed, this,
            &CAttendessWidgets::slot_getParticipants_succeed);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CAttendessWidgets::slotOnLanguageChanged);
}

CAttendessWidgets::~CAttendessWidgets() = default;

void CAttendessWidgets::requestParticipants()
{
    const models::CLoginManager &login = models::CLoginManager::getInstance();
    CUCMApiManager::getInstance()->getParticipants(login.getServerUrl(), login.getLoginToken(),
                                                   models::CCallController::getInstance().getConfNumber());
}

CAttendeesListview *CAttendessWidgets::videoList() const
{
    return ui->listView_video;
}

CAttendeesListview *CAttendessWidgets::audioList() const
{
    return ui->listView_audio;
}

QString CAttendessWidgets::tabText(bool video) const
{
    return ui->tabWidget->tabText(ui->tabWidget->indexOf(video ? ui->tab_video : ui->tab_audio));
}

void CAttendessWidgets::setupList(CAttendeesListview *view, bool video)
{
    auto *model = new CAttendeesListmodel();
    model->setKind(video ? CAttendeesListmodel::VideoParticipants : CAttendeesListmodel::AudioParticipants);
    view->adopt(model, new CAttendeesDelegate());
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setFocusPolicy(Qt::NoFocus);
}

void CAttendessWidgets::setParticipants(CAttendeesListview *view, const QList<ucmParticipantData> &participants)
{
    view->listModel()->setParticipants(participants);
}

void CAttendessWidgets::setListScale(CAttendeesListview *view, double scale)
{
    view->listDelegate()->setScale(scale);
    view->listModel()->refresh();
}

int CAttendessWidgets::listRowCount(const CAttendeesListview *view)
{
    return view->listModel()->rowCount();
}

void CAttendessWidgets::refresh()
{
    const QList<ucmParticipantData> &participants = CUCMApiManager::getInstance()->getParticipantList();
    setParticipants(ui->listView_audio, participants);
    setParticipants(ui->listView_video, participants);
    m_nAudioCount = listRowCount(ui->listView_audio);
    m_nVideoCount = listRowCount(ui->listView_video);
    updateTabTexts();
}

void CAttendessWidgets::updateTabTexts()
{
    ui->tabWidget->setTabText(ui->tabWidget->indexOf(ui->tab_video), tr("Video(%1)").arg(m_nVideoCount));
    ui->tabWidget->setTabText(ui->tabWidget->indexOf(ui->tab_audio), tr("Audio(%1)").arg(m_nAudioCount));
}

void CAttendessWidgets::slot_getParticipants_succeed()
{
    if (!isVisible()) {
        return;
    }
    refresh();
}

void CAttendessWidgets::slotOnLanguageChanged()
{
    ui->retranslateUi(this);
    updateTabTexts();
}

void CAttendessWidgets::showEvent(QShowEvent *event)
{
    CDraggableWgt::showEvent(event);
    if (isVisible()) {
        refresh();
    }
}

void CAttendessWidgets::onDpiChanged()
{
    KD_LOG << "scale:" << m_fStretchFactor;
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
    setStyleSheet(QString());
    setStyleSheetByScale(STYLE_BASE);
    setListScale(ui->listView_audio, m_fStretchFactor);
    setListScale(ui->listView_video, m_fStretchFactor);
}

} // namespace views
} // namespace kd_app
