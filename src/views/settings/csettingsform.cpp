#include "csettingsform.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QListView>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QTimer>

#include "app/cautostart.h"
#include "helpers/cappversion.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/clinguist.h"
#include "ui_csettingsform.h"
#include "views/base/alertdlg.h"
#include "views/feedback/feedbackdlg.h"
#include "views/settings/cwebreportdatatablewidget.h"
#include "views/settings/cwebreportdetailsdlg.h"
#include "views/upgrade/cdownloadthread.h"

using kd::engine::KD_DEVICE_TYPE;
using kd::engine::KDDevice;
using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CKDSdkManager;
using kd_app::models::CLinguist;

namespace kd_app {
namespace views {

namespace {

constexpr int kMicMeterIntervalMs = 200;
const char kTestSound[] = "resources/sounds/speaker.wav";
const char kDefaultMicrophone[] = "System Default Microphone";
const char kDefaultSpeaker[] = "System Default Speaker";
// 1 to 64 characters, none of them a double quote, "<", ">" or "+".
const char kScreenNamePattern[] = "^([^\"<>+]){1,64}$";

// The call rates offered, in kbit/s, with their labels.
const std::map<int, const char *> kCallRates = {
    {384, "384K"}, {512, "512K"}, {768, "768K"}, {1024, "1M"}, {1536, "1.5M"}, {2048, "2M"}, {3072, "3M"}, {4096, "4M"},
};

// The entry icons, "%1" standing for the scale's mark.
const char *const kEntryIcons[] = {
    ":/resources/images/icon_sip%1.png",           ":/resources/images/icon_general%1.png",
    ":/resources/images/icon_audio%1.png",         ":/resources/images/icon_video%1.png",
    ":/resources/images/icon_nav_webreport%1.png", ":/resources/images/icon_about%1.png",
};

CKDSdkManager *sdk()
{
    return CKDSdkManager::getInstance();
}

CUserConfigUtils &config()
{
    return *CUserConfigUtils::getInstance();
}

// The scale's mark in an image name: "" at 1, the given marks at 1.5 and 2;
// any other scale keeps the placeholder.
QString scaleMark(double scale, const QString &onePointFive, const QString &two, bool *known)
{
    *known = true;
    if (scale == 1.0) {
        return QString();
    }
    if (scale == 1.5) {
        return onePointFive;
    }
    if (scale == 2.0) {
        return two;
    }
    *known = false;
    return QString();
}

// The level bar shows a fraction of its maximum; the engine's reading is
// held to 0..1 first, so that no NaN or stray value becomes a bar position.
int meterValue(int maximum, float level)
{
    const float held = std::isnan(level) ? 0.0f : std::min(1.0f, std::max(0.0f, level));
    return int(float(maximum) * held);
}

QString deviceText(int type, const KDDevice &device)
{
    const std::string &name = device.name;
    if ((type == kd::engine::KD_DEVICE_MIC && name == kDefaultMicrophone) ||
        (type == kd::engine::KD_DEVICE_SPEAKER && name == kDefaultSpeaker)) {
        return QCoreApplication::translate("kd_app::views::CSettingsForm", "System Default");
    }
    return QString::fromStdString(name);
}

} // namespace

CSettingsForm::CSettingsForm(QWidget *parent) : CBaseWgt(parent), ui(std::make_unique<Ui::CSettingsForm>())
{
    KD_LOG;
    ui->setupUi(this);
    m_pMicMeterTimer = new QTimer(this);
    initUi();
    initConnections();
}

CSettingsForm::~CSettingsForm()
{
    KD_LOG;
}

// ---- construction ---------------------------------------------------------

void CSettingsForm::initUi()
{
    setWindowTitle(tr("PRODUCT_NAME"));
    // The entry list chooses the page. A hidden tab bar still counts in the
    // page container's minimum size, so its tabs are made to take no room:
    // the hosts' fixed sizes hold from the first layout on, sheet or not.
    ui->twgtSettingsPages->tabBar()->hide();
    ui->twgtSettingsPages->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { width: 0px; height: 0px; margin: 0px; padding: 0px; border: none; }"));
    for (QComboBox *box :
         {ui->cbbMic, ui->cbbSpeaker, ui->cbbCamera, static_cast<QComboBox *>(ui->combobox_protocol),
          static_cast<QComboBox *>(ui->m_pCmbBoxCallRate), static_cast<QComboBox *>(ui->m_pCmbBoxLanguage)}) {
        box->setView(new QListView(box));
    }
    const QStringList entries{QStringLiteral("SIP"), tr("General"),        tr("Audio"),
                              tr("Video"),           tr("Network Report"), tr("About")};
    for (int row = 0; row < entries.size(); ++row) {
        ui->lvSettingsEntrances->addItem(
            new QListWidgetItem(QIcon(QString::fromLatin1(kEntryIcons[row]).arg(QString())), entries.at(row)));
    }
    ui->lvSettingsEntrances->setCurrentRow(SipPage);
    ui->twgtSettingsPages->setCurrentIndex(SipPage);

    // General and About
    ui->m_pSnapshotPath->setText(config().getScreenPicPath());
    ui->m_pCmbBoxLanguage->addItem(tr("English_Language"), int(CLinguist::EN_US));
    ui->m_pCmbBoxLanguage->addItem(tr("Simplified-Chinese_Language"), int(CLinguist::ZH_CN));
    for (const auto &rate : kCallRates) {
        ui->m_pCmbBoxCallRate->addItem(QIcon(), QString::fromLatin1(rate.second), rate.first);
    }
    ui->m_pLabVersion->setText(tr("Version: %1").arg(QLatin1String(helpers::kAppVersion)));

    // SIP
    ui->combobox_protocol->addItems({QStringLiteral("TCP"), QStringLiteral("UDP"), QStringLiteral("TLS")});
    ui->lineedit_screenname->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QString::fromLatin1(kScreenNamePattern)), ui->lineedit_screenname));

    // Video
    m_renderType = sdk()->getRenderType();
    m_pRenderTypeGroup = new QButtonGroup(this);
    m_pRenderTypeGroup->addButton(ui->prbtRenderAuto, 0);
    m_pRenderTypeGroup->addButton(ui->prbtRenderD3d, 1);
    m_pRenderTypeGroup->addButton(ui->prbtRenderGDI, 2);
    if (QAbstractButton *button = m_pRenderTypeGroup->button(m_renderType)) {
        button->setChecked(true);
    }

    CWebreportDataTableWidget::instance()->initSummaryTable(ui->tableWidget_content);
}

void CSettingsForm::initConnections()
{
    connect(ui->twgtSettingsPages, &QTabWidget::currentChanged, this, &CSettingsForm::slt_settingspageChanged);
    // The page follows the list once the list has finished its own handling.
    connect(
        ui->lvSettingsEntrances, &QListWidget::currentRowChanged, this,
        [this](int row) { ui->twgtSettingsPages->setCurrentIndex(row); }, Qt::QueuedConnection);

    using Box = QComboBox;
    connect(ui->m_pCmbBoxCallRate, qOverload<int>(&Box::currentIndexChanged), this,
            &CSettingsForm::slotOnCallRateCurrentIndexChanged);
    connect(ui->m_pCmbBoxLanguage, qOverload<int>(&Box::currentIndexChanged), this,
            &CSettingsForm::slotOnLanguageCurrentIndexChanged);
    connect(ui->m_pBtnChangeSnapshotPath, &QPushButton::clicked, this, &CSettingsForm::changeSnapshotPath);
    connect(ui->btnUploadDiagnosis, &QPushButton::clicked, this, &CSettingsForm::slt_UploadFeedBack);
    connect(ui->m_pChkBoxAutoLogin, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxAutoLoginToggled);
    connect(ui->m_pChkBoxAutoAnswer, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxAutoAnswerToggled);
    connect(ui->m_pChkBoxAutoRun, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxAutoRun);
    connect(ui->m_pChkBoxAutoSaveWhiteBoardSnapshot, &QCheckBox::toggled, this,
            &CSettingsForm::slotOnChkBoxAutoSaveWhiteBoardSnapshot);
    connect(ui->m_pChkBoxSeperateWin4RemoteContent, &QCheckBox::toggled, this,
            &CSettingsForm::slotOnSeperateWin4RemoteContent);
    connect(ui->m_pChkBoxDisablePrompt, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxDisablePrompt);
    connect(ui->m_pChkBoxFullScreenOnCallConnected, &QCheckBox::toggled, this,
            &CSettingsForm::slotOnChkBoxFullScreenOnCallConnected);
    connect(ui->m_pChkBoxDisableShare, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxDisableShare);

    // Device choices are the user's only: activated, not index changes.
    connect(ui->cbbMic, qOverload<int>(&Box::activated), this, &CSettingsForm::slt_micSelected);
    connect(ui->cbbSpeaker, qOverload<int>(&Box::activated), this, &CSettingsForm::slt_speakerSelected);
    connect(ui->cbbCamera, qOverload<int>(&Box::activated), this, &CSettingsForm::slt_cameraSelected);
    connect(ui->btnPlayTestSound, &QPushButton::clicked, this, &CSettingsForm::slt_playTestSound);
    connect(ui->m_pChkBoxAINoiseReduction, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxAINoiseReduction);
    connect(m_pRenderTypeGroup, &QButtonGroup::idClicked, this, &CSettingsForm::slotOnbuttonClicked);
    connect(ui->m_pChkBoxEnableHightFrameRate, &QCheckBox::toggled, this,
            &CSettingsForm::slotOnChkBoxEnableHightFrameRateToggled);
    connect(ui->m_pChkBoxEnable1080p, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxEnable1080p);
    connect(ui->m_pChkBoxHardEncode, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxHardEncode);
    connect(ui->m_pChkBoxHardDecode, &QCheckBox::toggled, this, &CSettingsForm::slotOnChkBoxHardDecode);

    connect(m_pMicMeterTimer, &QTimer::timeout, this, &CSettingsForm::slt_updateMicVolume);
    connect(CLinguist::getInstance(), &CLinguist::sigLanguageChanged, this, &CSettingsForm::slotOnLanguageChanged);
    connect(sdk(), &CKDSdkManager::eventDeviceAdded, this, &CSettingsForm::slotOnDeviceAdded);
    connect(sdk(), &CKDSdkManager::eventDeviceRemoved, this, &CSettingsForm::slotOnDeviceRemoved);
}

// ---- frame ----------------------------------------------------------------

void CSettingsForm::selectPage(int page)
{
    ui->lvSettingsEntrances->setCurrentRow(page);
    ui->twgtSettingsPages->setCurrentIndex(page);
}

WId CSettingsForm::previewWindow() const
{
    return ui->wgtVideoPreview->winId();
}

void CSettingsForm::startMicMeter()
{
    KD_LOG << "Start mic meter";
    m_pMicMeterTimer->start(kMicMeterIntervalMs);
}

void CSettingsForm::stopMicMeter()
{
    KD_LOG << "Stop mic meter";
    m_pMicMeterTimer->stop();
}

void CSettingsForm::slt_settingspageChanged(int index)
{
    const int last = m_lastSettingsIndex;
    KD_LOG << "index:" << index << ", m_lastSettingsIndex:" << last;
    // Asked before anything starts for the new page: a refused departure
    // leaves no meter or camera running behind the SIP page.
    if (index != last && last == SipPage && isSipSettingsChanged()) {
        const int answer =
            AlertDlg::question(this, tr("Note"), tr("Changes are not saved, Are you sure you want to leave?"),
                               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
        if (answer != QMessageBox::Ok) {
            selectPage(SipPage);
            return;
        }
        loadSipSettings();
    }
    if (index == AudioPage) {
        slt_refreshAudioDevices();
    } else if (index == VideoPage) {
        slt_refreshVedioDevices();
    } else if (index == ReportPage) {
        updateWebReport();
    }
    if (index == last) {
        return;
    }
    if (index == AudioPage) {
        sdk()->enableMicMeter(true);
    }
    if (last == AudioPage) {
        sdk()->enableMicMeter(false);
    }
    if (index == VideoPage) {
        sdk()->enablePreview(true);
    }
    if (last == VideoPage) {
        sdk()->enablePreview(false);
    }
    if (index == AudioPage) {
        startMicMeter();
    }
    if (last == AudioPage) {
        stopMicMeter();
    }
    m_lastSettingsIndex = index;
}

void CSettingsForm::showEvent(QShowEvent *event)
{
    // The hosts give the scale (updateDpi); the base's own reading is not wanted.
    Q_UNUSED(event)
    KD_LOG;
    fillGeneralAndMedia();
    if (m_lastSettingsIndex == VideoPage) {
        sdk()->setLocalVideoWindow(previewWindow());
        sdk()->enablePreview(true);
        slt_refreshVedioDevices();
    }
    const int current = ui->twgtSettingsPages->currentIndex();
    if (current == AudioPage) {
        startMicMeter();
        slt_refreshAudioDevices();
    } else if (current == ReportPage) {
        updateWebReport();
    }
}

void CSettingsForm::hideEvent(QHideEvent *event)
{
    KD_LOG;
    if (sdk()) {
        sdk()->enableMicMeter(false);
        sdk()->enablePreview(false);
    }
    if (m_pMicMeterTimer) {
        stopMicMeter();
    }
    CBaseWgt::hideEvent(event);
}

void CSettingsForm::closeEvent(QCloseEvent *event)
{
    KD_LOG << "CSettingsForm::closeEvent";
    CBaseWgt::closeEvent(event);
}

void CSettingsForm::updateDpi(double scale)
{
    KD_LOG << "scale:" << scale;
    // A sheet set on a form that was never polished leaves the children
    // that were polished on their own (sizes asked by a layout) unstyled.
    ensurePolished();
    setStyleSheet(QString());
    m_fStretchFactor = scale;
    setStyleSheetByScale(QStringLiteral(":/resources/qss/settings-form"));
    CWebreportDataTableWidget::instance()->updateSummaryTableDpi(ui->tableWidget_content, scale);
    const int side = int(scale * 20);
    ui->lvSettingsEntrances->setIconSize(QSize(side, side));
    bool known = false;
    const QString mark = scaleMark(scale, QStringLiteral("@1.5x"), QStringLiteral("@2x"), &known);
    for (int row = 0; row < ui->lvSettingsEntrances->count(); ++row) {
        QString path = QString::fromLatin1(kEntryIcons[row]);
        if (known) {
            path = path.arg(mark);
        }
        ui->lvSettingsEntrances->item(row)->setIcon(QIcon(path));
    }
    setNetworkStatusIcon(m_bNetworkNormal);
}

void CSettingsForm::slotOnLanguageChanged()
{
    KD_LOG;
    ui->retranslateUi(this);
    retranslateEntries();
}

void CSettingsForm::retranslateEntries()
{
    const QStringList entries{tr("General"), tr("Audio"), tr("Video"), tr("Network Report"), tr("About")};
    for (int row = 1; row <= entries.size() && row < ui->lvSettingsEntrances->count(); ++row) {
        ui->lvSettingsEntrances->item(row)->setText(entries.at(row - 1));
    }
    ui->m_pCmbBoxLanguage->setItemText(0, tr("English_Language"));
    ui->m_pCmbBoxLanguage->setItemText(1, tr("Simplified-Chinese_Language"));
    // Set in code, so the form's own re-translation would leave it empty.
    ui->m_pLabVersion->setText(tr("Version: %1").arg(QLatin1String(helpers::kAppVersion)));
}

void CSettingsForm::setSipPageVisible(bool visible)
{
    KD_LOG << visible;
    const int row = ui->lvSettingsEntrances->currentRow();
    ui->lvSettingsEntrances->item(SipPage)->setHidden(!visible);
    if (visible) {
        if (row == GeneralPage) {
            selectPage(SipPage);
        }
        loadSipSettings();
        return;
    }
    if (row == SipPage) {
        selectPage(GeneralPage);
    }
}

void CSettingsForm::on_pBt_details_clicked()
{
    KD_LOG;
    auto *details = new CWebreportDetailsDlg(this, m_diag, m_strDiag);
    details->show();
}

// ---- General and About ----------------------------------------------------

void CSettingsForm::fillGeneralAndMedia()
{
    const unsigned rate = sdk()->getBandwidth();
    KD_LOG << "current call rate:" << rate;
    const int rateIndex = ui->m_pCmbBoxCallRate->findData(int(rate));
    if (rateIndex >= 0) {
        ui->m_pCmbBoxCallRate->setCurrentIndex(rateIndex);
    }
    const int languageIndex = ui->m_pCmbBoxLanguage->findData(int(CLinguist::getInstance()->m_currentLanguage));
    if (languageIndex >= 0) {
        ui->m_pCmbBoxLanguage->setCurrentIndex(languageIndex);
    } else {
        KD_LOG << "Not found the suitable language";
    }
    CUserConfigUtils &settings = config();
    ui->m_pChkBoxAutoLogin->setChecked(settings.getRememberMe());
    ui->m_pChkBoxAutoAnswer->setChecked(settings.isAutoAnswer());
    ui->m_pChkBoxAutoRun->setChecked(CAutoStart::isEnabled());
    ui->m_pChkBoxAutoSaveWhiteBoardSnapshot->setChecked(settings.isAutoCaptureWin());
    ui->m_pChkBoxDisablePrompt->setChecked(settings.isDisablePrompt());
    ui->m_pChkBoxEnableHightFrameRate->setChecked(sdk()->highFPSEnabled());
    ui->m_pChkBoxEnable1080p->setChecked(sdk()->HDEnabled());
    ui->m_pChkBoxSeperateWin4RemoteContent->setChecked(settings.isOpenNewWinInContentStream());
    ui->m_pChkBoxFullScreenOnCallConnected->setChecked(settings.isFullScreenOnCallConnected());
    ui->m_pChkBoxDisableShare->setChecked(!sdk()->contentEnabled());
    ui->m_pChkBoxAutoSaveWhiteBoardSnapshot->hide();
    ui->m_pChkBoxAINoiseReduction->setChecked(settings.getAINoiseReduction());
    ui->m_pChkBoxHardEncode->setChecked(settings.isEnableHardEncode());
    ui->m_pChkBoxHardDecode->setChecked(settings.isEnableHardDecode());
}

void CSettingsForm::slotOnCallRateCurrentIndexChanged(int idx)
{
    Q_UNUSED(idx)
    const int rate = ui->m_pCmbBoxCallRate->currentData().toInt();
    const int current = int(sdk()->getBandwidth());
    KD_LOG << "Set call rate to:" << rate << ", current call rate:" << current;
    if (rate != current) {
        sdk()->setBandwidth(unsigned(rate));
    }
}

void CSettingsForm::slotOnLanguageCurrentIndexChanged(int idx)
{
    Q_UNUSED(idx)
    KD_LOG << ui->m_pCmbBoxLanguage->currentText();
    CLinguist::getInstance()->changeLanguage(CLinguist::Language(ui->m_pCmbBoxLanguage->currentData().toInt()));
}

void CSettingsForm::slotOnChkBoxAutoLoginToggled(bool checked)
{
    KD_LOG << checked;
    config().setRememberMe(checked);
}

void CSettingsForm::slotOnChkBoxAutoAnswerToggled(bool checked)
{
    KD_LOG << checked;
    config().setAutoAnswer(checked);
}

void CSettingsForm::slotOnChkBoxAutoRun(bool checked)
{
    KD_LOG << checked;
    // Showing the page sets the box from the entry; that alone must not
    // rewrite an entry another copy of the program made.
    if (checked == CAutoStart::isEnabled()) {
        return;
    }
    CAutoStart::setEnabled(checked);
}

void CSettingsForm::slotOnChkBoxAutoSaveWhiteBoardSnapshot(bool checked)
{
    KD_LOG << "slotOnChkBoxAutoSaveWhiteBoardSnapshot:" << checked;
    config().setAutoCaptureWin(checked);
}

void CSettingsForm::slotOnSeperateWin4RemoteContent(bool checked)
{
    KD_LOG << checked;
    config().setOpenNewWinInContentStream(checked);
}

void CSettingsForm::slotOnChkBoxDisablePrompt(bool checked)
{
    KD_LOG << checked;
    config().setDisablePrompt(checked);
}

void CSettingsForm::slotOnChkBoxFullScreenOnCallConnected(bool checked)
{
    KD_LOG << checked;
    config().setFullScreenOnCallConnected(checked);
}

void CSettingsForm::slotOnChkBoxDisableShare(bool checked)
{
    KD_LOG << checked;
    if (sdk()->contentEnabled() == checked) {
        sdk()->enableContent(!checked);
    }
}

void CSettingsForm::changeSnapshotPath()
{
    const QString start = ui->m_pSnapshotPath->text().isEmpty() ? QStringLiteral("./") : ui->m_pSnapshotPath->text();
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("Please set the snapshot path"), start, QFileDialog::ShowDirsOnly);
    KD_LOG << "folder:" << folder;
    if (folder.isEmpty()) {
        return;
    }
    ui->m_pSnapshotPath->setText(folder);
    config().setScreenPicPath(folder);
}

void CSettingsForm::slt_UploadFeedBack()
{
    KD_LOG;
    // Every click opens another dialog; each deletes itself when closed.
    auto *dialog = new FeedBackDlg(nullptr);
    dialog->show();
}

void CSettingsForm::on_m_pBtnCheckUpdate_clicked()
{
    CDownloadThread *thread = CDownloadThread::getInstance();
    KD_LOG << "running:" << thread->isRunning();
    if (thread->isRunning()) {
        return;
    }
    connect(thread, &CDownloadThread::signal_updateMessage, this, &CSettingsForm::slt_updateMessage,
            Qt::UniqueConnection);
    thread->Tstart(true, true);
}

void CSettingsForm::slt_updateMessage(bool toUpdate)
{
    KD_LOG << toUpdate;
    disconnect(CDownloadThread::getInstance(), &CDownloadThread::signal_updateMessage, this,
               &CSettingsForm::slt_updateMessage);
    if (!toUpdate) {
        AlertDlg::information(this, tr("Prompt"), tr("Not found new version."));
    }
}

// ---- Audio and Video ------------------------------------------------------

namespace {

// One device list of the page: which kind, which box, which texts it logs.
struct CDeviceList
{
    KD_DEVICE_TYPE type;
    const char *selected;
    const char *perDevice;
    const char *found;
    const char *notFound;
    const char *empty;
    const char *emptyChoice;
};

const CDeviceList kMicList{kd::engine::KD_DEVICE_MIC,
                           "selected mic, id:",
                           "Speaker id:",
                           "Found selected mic",
                           "Not found selected mic and set mic to the first",
                           "Empty mic list",
                           "The mic device list is empty"};
const CDeviceList kSpeakerList{kd::engine::KD_DEVICE_SPEAKER,
                               "selected speaker, id:",
                               "Speaker id:",
                               "Found selected speaker",
                               "Not found selected speaker and set speaker to the first",
                               "Empty speaker list",
                               "The speaker device list is empty"};
const CDeviceList kCameraList{kd::engine::KD_DEVICE_CAMERA,
                              "selected camera, id:",
                              "camera, id:",
                              "Found selected camera",
                              "Not found selected camera and set camera to the first",
                              "Empty camera list",
                              "The video device list is empty"};

// Rebuilds a box from the engine; true when the engine's current device is
// not listed and the first one must be chosen instead.
bool rebuildDeviceBox(const CDeviceList &spec, QComboBox *box, std::vector<KDDevice> &devices, KDDevice &current)
{
    devices = sdk()->getDevices(spec.type);
    current = sdk()->getDevice(spec.type);
    KD_LOG << spec.selected << current.id << ", name:" << QString::fromStdString(current.name);
    box->clear();
    for (const KDDevice &device : devices) {
        KD_LOG << spec.perDevice << device.id << ", name:" << QString::fromStdString(device.name);
        box->addItem(deviceText(spec.type, device), device.id);
    }
    const int found = box->findData(current.id);
    if (found >= 0) {
        KD_LOG << spec.found;
        box->setCurrentIndex(found);
        return false;
    }
    if (devices.empty()) {
        KD_LOG << spec.empty;
        box->setCurrentIndex(-1);
        return false;
    }
    KD_LOG << spec.notFound;
    box->setCurrentIndex(0);
    return true;
}

// Makes the chosen item's device current in the engine; false, with a
// warning, when the list it was chosen from is empty.
bool chooseDevice(const CDeviceList &spec, QComboBox *box, const std::vector<KDDevice> &devices, int index)
{
    const unsigned id = box->itemData(index).toUInt();
    KD_LOG << "index:" << index << ", id:" << id << devices.size();
    if (devices.empty()) {
        KD_WARN << spec.emptyChoice;
        return false;
    }
    sdk()->setDevice(spec.type, id);
    return true;
}

} // namespace

void CSettingsForm::refreshMicComboBox()
{
    KD_LOG;
    if (rebuildDeviceBox(kMicList, ui->cbbMic, m_audioCaptureDevices, m_currentMic)) {
        slt_micSelected(0);
    }
}

void CSettingsForm::refreshSpeakerComboBox()
{
    KD_LOG;
    if (rebuildDeviceBox(kSpeakerList, ui->cbbSpeaker, m_audioPlaybackDevices, m_currentSpeaker)) {
        slt_speakerSelected(0);
    }
}

void CSettingsForm::refreshCameraComboBox()
{
    KD_LOG;
    if (rebuildDeviceBox(kCameraList, ui->cbbCamera, m_videoDevices, m_currentCamera)) {
        slt_cameraSelected(0);
    }
}

void CSettingsForm::slt_refreshAudioDevices()
{
    KD_LOG;
    refreshMicComboBox();
    refreshSpeakerComboBox();
    if (ui->twgtSettingsPages->currentIndex() == AudioPage) {
        sdk()->enableMicMeter(true);
    }
    KD_LOG << "done";
}

void CSettingsForm::slt_refreshVedioDevices()
{
    KD_LOG;
    sdk()->setLocalVideoWindow(previewWindow());
    refreshCameraComboBox();
    KD_LOG << "done";
}

void CSettingsForm::slt_micSelected(int index)
{
    if (chooseDevice(kMicList, ui->cbbMic, m_audioCaptureDevices, index) &&
        ui->twgtSettingsPages->currentIndex() == AudioPage) {
        sdk()->enableMicMeter(true);
    }
}

void CSettingsForm::slt_speakerSelected(int index)
{
    if (chooseDevice(kSpeakerList, ui->cbbSpeaker, m_audioPlaybackDevices, index) &&
        ui->twgtSettingsPages->currentIndex() == AudioPage) {
        sdk()->enableMicMeter(true);
    }
}

void CSettingsForm::slt_cameraSelected(int index)
{
    if (!chooseDevice(kCameraList, ui->cbbCamera, m_videoDevices, index)) {
        return;
    }
    sdk()->setLocalVideoWindow(previewWindow());
    sdk()->enablePreview(true);
    KD_LOG << "done";
}

void CSettingsForm::slotOnDeviceAdded(KDDevice device)
{
    KD_LOG << "type:" << device.type << ", id:" << device.id;
    onDeviceChanged(device.type);
}

void CSettingsForm::slotOnDeviceRemoved(KDDevice device)
{
    KD_LOG << "type:" << device.type << ", id:" << device.id;
    onDeviceChanged(device.type);
}

void CSettingsForm::onDeviceChanged(int deviceType)
{
    const int page = ui->twgtSettingsPages->currentIndex();
    KD_LOG << "deviceType:" << deviceType << ", page current idx:" << page;
    if (deviceType == kd::engine::KD_DEVICE_MIC && page == AudioPage) {
        refreshMicComboBox();
    } else if (deviceType == kd::engine::KD_DEVICE_SPEAKER && page == AudioPage) {
        refreshSpeakerComboBox();
    } else if (deviceType == kd::engine::KD_DEVICE_CAMERA && page == VideoPage) {
        refreshCameraComboBox();
    }
}

void CSettingsForm::slt_updateMicVolume()
{
    if (m_audioCaptureDevices.empty()) {
        KD_LOG << "audioCaptureDevices = NULL";
        return;
    }
    ui->pgbMic->setValue(meterValue(ui->pgbMic->maximum(), sdk()->getMicVolume()));
}

void CSettingsForm::slt_playTestSound()
{
    if (sdk()->isAudioPlaying()) {
        sdk()->stopAudioPlay();
        return;
    }
    if (m_qstrTestSoundPath.isEmpty()) {
        m_qstrTestSoundPath = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kTestSound);
    }
    sdk()->setAudioFile(m_qstrTestSoundPath);
    sdk()->startAudioPlay(0);
}

void CSettingsForm::slotOnChkBoxAINoiseReduction(bool checked)
{
    KD_LOG << checked;
    config().setAINoiseReduction(checked);
    sdk()->enableNoiseSuppression(checked);
}

void CSettingsForm::slotOnChkBoxEnableHightFrameRateToggled(bool checked)
{
    KD_LOG << checked;
    sdk()->enableHighFPS(checked);
}

void CSettingsForm::slotOnChkBoxEnable1080p(bool checked)
{
    KD_LOG << checked;
    sdk()->enableHD(checked);
}

void CSettingsForm::slotOnChkBoxHardEncode(bool checked)
{
    KD_LOG << checked;
    config().setEnableHardEncode(checked);
    sdk()->enableHardEncoder(checked);
}

void CSettingsForm::slotOnChkBoxHardDecode(bool checked)
{
    KD_LOG << checked;
    config().setEnableHardDecode(checked);
    sdk()->enableHardDecoder(checked);
}

void CSettingsForm::slotOnbuttonClicked(int id)
{
    KD_LOG << id << ", current:" << m_renderType;
    if (!m_pRenderTypeGroup->button(id) || id == m_renderType) {
        return;
    }
    m_renderType = id;
    sdk()->setRenderType(id);
}

// ---- SIP ------------------------------------------------------------------

void CSettingsForm::loadSipSettings()
{
    KD_LOG;
    CUserConfigUtils &settings = config();
    const int protocol =
        ui->combobox_protocol->findText(settings.getTransportProtocol(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    ui->combobox_protocol->setCurrentIndex(protocol >= 0 ? protocol : 0);
    ui->lineedit_screenname->setText(settings.getScreenName());
    const bool registration = settings.isEnableRegistration();
    ui->radio_SIPRegistration->setChecked(registration);
    ui->widget_SIPregistration->setVisible(registration);
    ui->lineedit_SIPserver->setText(settings.getProxyServerAddress());
    ui->lineedit_SIPdomain->setText(settings.getDomain());
    ui->lineedit_SIPnumber->setText(settings.getSignInAddress());
    ui->lineedit_SIPusername->setText(settings.getAuthenticationUserName());
    ui->lineedit_SIPpassword->setText(settings.getAuthenticationPassword());
}

bool CSettingsForm::isSipSettingsChanged()
{
    if (ui->lvSettingsEntrances->item(SipPage)->isHidden()) {
        return false;
    }
    CUserConfigUtils &settings = config();
    const auto differs = [](const QString &edited, const QString &stored) {
        return edited.trimmed() != stored.trimmed();
    };
    return differs(ui->combobox_protocol->currentText(), settings.getTransportProtocol()) ||
           differs(ui->lineedit_screenname->text(), settings.getScreenName()) ||
           ui->radio_SIPRegistration->isChecked() != settings.isEnableRegistration() ||
           differs(ui->lineedit_SIPserver->text(), settings.getProxyServerAddress()) ||
           differs(ui->lineedit_SIPdomain->text(), settings.getDomain()) ||
           differs(ui->lineedit_SIPnumber->text(), settings.getSignInAddress()) ||
           differs(ui->lineedit_SIPusername->text(), settings.getAuthenticationUserName()) ||
           differs(ui->lineedit_SIPpassword->text(), settings.getAuthenticationPassword());
}

void CSettingsForm::on_radio_SIPRegistration_clicked(bool nchecked)
{
    KD_LOG << nchecked;
    ui->widget_SIPregistration->setVisible(nchecked);
}

void CSettingsForm::on_pbt_SIPSave_clicked()
{
    const QString protocol = ui->combobox_protocol->currentText().trimmed();
    const QString screenName = ui->lineedit_screenname->text().trimmed();
    const bool registration = ui->radio_SIPRegistration->isChecked();
    const QString server = ui->lineedit_SIPserver->text().trimmed();
    const QString domain = ui->lineedit_SIPdomain->text().trimmed();
    const QString number = ui->lineedit_SIPnumber->text().trimmed();
    const QString userName = ui->lineedit_SIPusername->text().trimmed();
    const QString password = ui->lineedit_SIPpassword->text().trimmed();
    // The password is stored as entered but never written to the log.
    KD_LOG << "protocol:" << protocol << ", screenName:" << screenName << ", registration:" << registration
           << ", server:" << server << ", domain:" << domain << ", number:" << number << ", userName:" << userName;
    if (registration && server.isEmpty()) {
        AlertDlg::information(this, tr("Prompt"), tr("Input Server Address"));
        return;
    }
    CUserConfigUtils &settings = config();
    settings.setTransportProtocol(protocol);
    settings.setScreenName(screenName);
    settings.setEnableRegistration(registration);
    settings.setProxyServerAddress(server);
    settings.setDomain(domain);
    settings.setSignInAddress(number);
    settings.setAuthenticationUserName(userName);
    settings.setAuthenticationPassword(password);
    models::CCallController::getInstance().whenLoginSkipped();
    AlertDlg::information(this, tr("Prompt"), tr("Saved Successfully!"));
}

// ---- Network report -------------------------------------------------------

void CSettingsForm::updateWebReport()
{
    KD_LOG;
    m_diag = sdk()->getDiag();
    m_strDiag = sdk()->getDiagString();
    int page = 0;
    bool noCall = false;
    bool allNormal = false;
    CWebreportDataTableWidget::instance()->fillSummaryTable(ui->tableWidget_content, m_diag, &page, &noCall,
                                                            &allNormal);
    KD_LOG << "bprompt:" << noCall;
    ui->stackedWidget->setCurrentIndex(page);
    const QString server = QString::fromUtf8(m_diag.adviceParam.data(), int(m_diag.adviceParam.size()));
    QString advice;
    switch (m_diag.advice) {
    case 1:
        advice = tr("Failed to resolve domain, please check if the domain service setting is correct. (Server "
                    "address: %1)")
                     .arg(server);
        break;
    case 2:
        advice = tr("Network connection timeout, please check network connection or firewall setting. (Server "
                    "address: %1)")
                     .arg(server);
        break;
    case 3:
        advice = tr("Can not receive bitstream, please check if the firewall among servers and relevant settings is "
                    "correct.");
        break;
    case 4:
        advice = tr("Please refer to the detail information about error content.");
        break;
    default:
        break;
    }
    if (!advice.isEmpty()) {
        ui->m_pLblAdvice->setText(advice);
        ui->m_pWgtAdvice->show();
        ui->m_pWgtMakeCallPrompt->hide();
    } else {
        ui->m_pWgtAdvice->hide();
        ui->m_pWgtMakeCallPrompt->setVisible(noCall);
    }
    m_bNetworkNormal = allNormal;
    setNetworkStatusIcon(allNormal);
    KD_LOG << "done";
}

void CSettingsForm::setNetworkStatusIcon(bool normal)
{
    QString style = normal ? QStringLiteral("border-image: url(:/resources/images/image_ok%1.png)")
                           : QStringLiteral("border-image: url(:/resources/images/image_error%1.png)");
    bool known = false;
    const QString mark = scaleMark(m_fStretchFactor, QStringLiteral("-1.5x"), QStringLiteral("-2x"), &known);
    if (known) {
        style = style.arg(mark);
    }
    ui->label_iconReport->setStyleSheet(style);
    ui->label_titleReport->setText(normal ? tr("Network status is normal") : tr("Network status is abnormal"));
}

} // namespace views
} // namespace kd_app
