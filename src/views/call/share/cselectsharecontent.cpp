#include "cselectsharecontent.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"
#include "ui_cselectsharecontent.h"
#include "views/base/alertdlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/share/carrowwidget.h"
#include "views/call/share/cwidgetcontents.h"
#include "views/call/share/cwidgetcontentsub.h"

namespace kd_app {
namespace views {

using models::CCallController;
using models::CKDSdkManager;

namespace {

const char STYLE_FILE[] = ":/resources/qss/select-share-content.qss";
constexpr int DESIGN_WIDTH = 752;
constexpr int DESIGN_HEIGHT = 536;
constexpr int CAPTION_GAPS = 12 + 15 + 12;
// The tiles stand this far in from the left edge; their section titles too.
constexpr int TITLE_INDENT = 20;

} // namespace

CSelectShareContent::CSelectShareContent(QWidget *parent)
    : CDraggableWgt(parent), ui(std::make_unique<Ui::CSelectShareContent>())
{
    setParent(parent);
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setDragTitleBar(ui->Titlebar);
    helpers::CGeneralUtils::setStyle(this, STYLE_FILE);

    connect(ui->close, &QPushButton::clicked, this, &CSelectShareContent::close);
    // "pBtShare" reaches on_pBtShare_clicked through the form's connection by name.
    for (CWidgetContents *grid : {ui->desktopwidget, ui->windowwidget}) {
        connect(grid, &CWidgetContents::signal_contentSelected, this, &CSelectShareContent::slot_contentSelected);
        connect(grid, &CWidgetContents::signal_contentShare, this, &CSelectShareContent::on_pBtShare_clicked);
    }
    ui->pBtHelp->installEventFilter(this);
    ui->m_pChkBoxContentHighFPSHelp->installEventFilter(this);
    m_pSoundHint = new CArrowWidget(this);
    m_pSoundHint->setText(tr("Other participants will be able to hear the audio being played on your computer"));
    m_pFluencyHint = new CArrowWidget(this);
    m_pFluencyHint->setText(tr("Ensure shared content fluency first"));
    for (CArrowWidget *hint : {m_pSoundHint, m_pFluencyHint}) {
        hint->hide();
        hint->installEventFilter(this);
    }
    updateShareEnabled();
}

CSelectShareContent::~CSelectShareContent()
{
    delete m_pSoundHint;
    delete m_pFluencyHint;
}

CWidgetContents *CSelectShareContent::screenGrid() const
{
    return ui->desktopwidget;
}

CWidgetContents *CSelectShareContent::windowGrid() const
{
    return ui->windowwidget;
}

QCheckBox *CSelectShareContent::shareSoundBox() const
{
    return ui->cBshareSound;
}

QCheckBox *CSelectShareContent::fluencyBox() const
{
    return ui->m_pChkBoxContentHighFPS;
}

QPushButton *CSelectShareContent::shareButton() const
{
    return ui->pBtShare;
}

void CSelectShareContent::setContentSources(const std::vector<kd::engine::KDContentSourceInfo> &sources)
{
    CWidgetContents *screens = ui->desktopwidget;
    screens->setContentSources(sources, 0);
    if (models::CLoginManager::getInstance().getLoginStatus() != enums::AnonymousLoggedIn) {
        screens->addWhiteBoard();
    }
    screens->layoutTiles(true);
    ui->windowtips->hide();
    ui->windowwidget->hide();
    screens->selectIndex(0);
    updateContentsHeight();
    slot_contentSelected();
}

void CSelectShareContent::updateContentsHeight()
{
    const double scale = m_fStretchFactor > 0 ? m_fStretchFactor : 1.0;
    const int height = int(CAPTION_GAPS * scale) + ui->desktoptips->height() + ui->windowtips->height() +
                       ui->desktopwidget->height() + ui->windowwidget->height();
    ui->scrollAreaWidgetContents->setMinimumHeight(height);
}

void CSelectShareContent::setShareAudioChecked(bool checked)
{
    m_bShareAudio = checked;
    ui->cBshareSound->setChecked(checked);
}

void CSelectShareContent::setFluencyFirstChecked(bool checked)
{
    ui->m_pChkBoxContentHighFPS->setChecked(checked);
}

void CSelectShareContent::updateShareEnabled()
{
    // Nothing to share when no tile is chosen (a guest on a machine without
    // a screen the engine lists): Share stays off rather than share nothing.
    ui->pBtShare->setEnabled(ui->desktopwidget->selectedTile() || ui->windowwidget->selectedTile());
}

void CSelectShareContent::slot_contentSelected()
{
    if (sender() == ui->desktopwidget) {
        ui->windowwidget->clearSelection();
    } else if (sender() == ui->windowwidget) {
        ui->desktopwidget->clearSelection();
    }
    CWidgetContentSub *selected = ui->desktopwidget->selectedTile();
    if (selected && selected->isWhiteBoard()) {
        KD_LOG << "whiteboard selected";
        ui->cBshareSound->setChecked(false);
        ui->cBshareSound->setEnabled(false);
        ui->m_pChkBoxContentHighFPS->setChecked(false);
        ui->m_pChkBoxContentHighFPS->setEnabled(false);
    } else {
        KD_LOG << "non whiteboard selected";
        ui->cBshareSound->setEnabled(true);
        ui->m_pChkBoxContentHighFPS->setEnabled(true);
    }
    updateShareEnabled();
}

void CSelectShareContent::on_pBtShare_clicked()
{
    CWidgetContentSub *tile = ui->desktopwidget->selectedTile();
    if (!tile) {
        tile = ui->windowwidget->selectedTile();
    }
    if (!tile) {
        KD_LOG << "nothing selected";
        return;
    }
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    sdk->enableContentAudio(ui->cBshareSound->isChecked());
    sdk->enableContentHighFPS(ui->m_pChkBoxContentHighFPS->isChecked());
    setSharedScreenIndex(0);
    // The whiteboard's refusals ask in a box of their own; the call may end
    // meanwhile, and its end closes (and deletes) this picker.
    const QPointer<CSelectShareContent> alive(this);
    if (tile->isWhiteBoard()) {
        shareWhiteBoard();
    } else {
        shareScreen(tile->sourceInfo());
    }
    if (alive) {
        close();
    }
}

void CSelectShareContent::shareWhiteBoard()
{
    CCallController &call = CCallController::getInstance();
    if (call.getAcsJsonWebToken().isEmpty()) {
        AlertDlg::question(this, tr("Note"), tr("Service is not connected, please wait..."), QMessageBox::Yes,
                           QMessageBox::Yes);
    } else if (call.getContentStreamStatus() == enums::ContentStreamStatus_ReceivingWhiteBoardStarted) {
        AlertDlg::question(this, tr("Note"), tr("Receiving whiteboard."), QMessageBox::Yes, QMessageBox::Yes);
    } else {
        stopCurrentContent();
        CKDSdkManager::getInstance()->sendWhiteBoard();
    }
    KD_LOG << "share content whiteboard";
}

void CSelectShareContent::shareScreen(const kd::engine::KDContentSourceInfo &source)
{
    const QString title = QString::fromLocal8Bit(source.windowTitle.c_str());
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        if (screens.at(i)->name().trimmed() == title) {
            setSharedScreenIndex(i);
            break;
        }
    }
    stopCurrentContent();
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    sdk->setLocalContentSource(source);
    KD_LOG << "share content window id:" << source.windowId;
    sdk->sendContent();
    CCallController::getInstance().setContentSourceInfo(source);
}

void CSelectShareContent::stopCurrentContent()
{
    CCallController &call = CCallController::getInstance();
    const int status = call.getContentStreamStatus();
    KD_LOG << "getContentStreamStatus:" << status;
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    if (status == enums::ContentStreamStatus_SendingContentStarted ||
        status == enums::ContentStreamStatus_SendingWhiteBoardStarted) {
        sdk->stopContent();
        call.setContentStreamStatus(enums::ContentStreamStatus_None, std::string(), 0);
    }
    sdk->setLocalContentWindow(0, 0);
}

void CSelectShareContent::setSharedScreenIndex(int index)
{
    for (QObject *owner = parent(); owner; owner = owner->parent()) {
        if (auto *engine = qobject_cast<CLayoutPeopleSettingDlg *>(owner)) {
            KD_LOG << "setSharedScreenIndex:" << index;
            engine->setSharedScreenIndex(index);
            return;
        }
    }
    KD_LOG << "no layout engine to tell the shared screen index" << index;
}

void CSelectShareContent::placeHint(CArrowWidget *hint, const QWidget *button)
{
    hint->adjustSize();
    const int x = this->x() + ui->toolbar->x() + button->x() - (hint->width() - button->width()) / 2;
    const int y = this->y() + ui->toolbar->y() + button->y() - hint->height();
    hint->move(x, y);
}

bool CSelectShareContent::eventFilter(QObject *watched, QEvent *event)
{
    CArrowWidget *hint = watched == ui->pBtHelp                       ? m_pSoundHint
                         : watched == ui->m_pChkBoxContentHighFPSHelp ? m_pFluencyHint
                                                                      : nullptr;
    if (hint && event->type() == QEvent::Enter) {
        hint->show();
        placeHint(hint, static_cast<QWidget *>(watched));
    } else if (hint && event->type() == QEvent::Leave) {
        hint->hide();
    }
    return CDraggableWgt::eventFilter(watched, event);
}

void CSelectShareContent::onDpiChanged()
{
    const double scale = m_fStretchFactor;
    KD_LOG << "scale:" << scale;
    for (QWidget *widget : {static_cast<QWidget *>(ui->titleName), static_cast<QWidget *>(ui->pBtShare)}) {
        QFont font = widget->font();
        if (font.weight() <= 57) {
            font.setWeight(75);
        }
        font.setPixelSize(int(12 * scale));
        widget->setFont(font);
    }
    for (QWidget *widget :
         {static_cast<QWidget *>(ui->desktoptips), static_cast<QWidget *>(ui->windowtips),
          static_cast<QWidget *>(ui->cBshareSound), static_cast<QWidget *>(ui->m_pChkBoxContentHighFPS)}) {
        QFont font = widget->font();
        font.setPixelSize(int(13 * scale));
        widget->setFont(font);
    }
    m_dpiScaler.scaleWindow(scale, this);
    for (QWidget *title : {static_cast<QWidget *>(ui->desktoptips), static_cast<QWidget *>(ui->windowtips)}) {
        title->setContentsMargins(int(TITLE_INDENT * scale), 0, 0, 0);
    }
    ui->desktopwidget->setScale(scale);
    m_pSoundHint->setScale(scale);
    m_pFluencyHint->setScale(scale);
    updateContentsHeight();
    const int indicator = int(12 * scale);
    const QString indicatorStyle =
        QString("QCheckBox::indicator {width: %1px; height: %2px;}").arg(indicator).arg(indicator);
    ui->cBshareSound->setStyleSheet(indicatorStyle);
    ui->m_pChkBoxContentHighFPS->setStyleSheet(indicatorStyle);
}

} // namespace views
} // namespace kd_app
