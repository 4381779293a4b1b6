#include "cdtmfdlg.h"

#include <QFont>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"
#include "ui_cdtmfdlg.h"
#include "views/call/toolbar/cdtmflabel.h"

namespace kd_app {
namespace views {

namespace {

const char STYLE_FILE[] = ":/resources/qss/dtmf-dlg.qss";
constexpr int KEY_SIZE = 50;
constexpr int DIGITS_FONT_PIXELS = 24;

const char *const KEY_TEXTS[CDTMFDlg::KEY_COUNT] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};

} // namespace

CDTMFDlg::CDTMFDlg(QWidget *parent) : CDraggableWgt(parent), ui(std::make_unique<Ui::CDTMFDlg>())
{
    setParent(parent);
    helpers::CGeneralUtils::setStyle(this, STYLE_FILE);
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setDragTitleBar(ui->Titlebar);

    QTableWidget *table = ui->tableWidget;
    table->setShowGrid(false);
    table->setFrameShape(QFrame::NoFrame);
    table->setFocusPolicy(Qt::NoFocus);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setRowCount(KEY_COUNT / COLUMN_COUNT);
    table->setColumnCount(COLUMN_COUNT);
    table->horizontalHeader()->setVisible(false);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setDefaultSectionSize(KEY_SIZE);
    table->verticalHeader()->setDefaultSectionSize(KEY_SIZE);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    connect(ui->m_pBtnClose, &QPushButton::clicked, this, &CDTMFDlg::close);

    for (int index = 0; index < KEY_COUNT; ++index) {
        auto *item = new QTableWidgetItem();
        item->setSizeHint(QSize(KEY_SIZE, KEY_SIZE));
        table->setItem(index / COLUMN_COUNT, index % COLUMN_COUNT, item);
        auto *key = new CDTMFLabel(index, keyText(index), table);
        key->setScale(1);
        table->setCellWidget(index / COLUMN_COUNT, index % COLUMN_COUNT, key);
        connect(key, &CDTMFLabel::signal_selectInput, this, &CDTMFDlg::slot_selectInput);
    }
}

CDTMFDlg::~CDTMFDlg() = default;

QString CDTMFDlg::keyText(int index)
{
    if (index < 0 || index >= KEY_COUNT) {
        return QString();
    }
    return QString::fromLatin1(KEY_TEXTS[index]);
}

QString CDTMFDlg::digits() const
{
    return ui->showLabel->text();
}

CDTMFLabel *CDTMFDlg::keyLabel(int index) const
{
    return qobject_cast<CDTMFLabel *>(ui->tableWidget->cellWidget(index / COLUMN_COUNT, index % COLUMN_COUNT));
}

QWidget *CDTMFDlg::titleBar() const
{
    return ui->Titlebar;
}

void CDTMFDlg::slot_selectInput(int index)
{
    const QString text = keyText(index);
    if (text.isEmpty()) {
        return;
    }
    const bool sent = models::CKDSdkManager::getInstance()->sendDTMF(text.at(0).toLatin1());
    KD_LOG << "key:" << text << "sent:" << sent;
    if (sent) {
        ui->showLabel->setText(ui->showLabel->text() + text);
    }
}

void CDTMFDlg::onDpiChanged()
{
    const double scale = m_fStretchFactor;
    KD_LOG << "scale:" << scale;
    QFont font = ui->showLabel->font();
    font.setPixelSize(int(DIGITS_FONT_PIXELS * scale));
    ui->showLabel->setFont(font);
    m_dpiScaler.scaleWindow(scale, this);
    const int keySize = int(KEY_SIZE * scale);
    QTableWidget *table = ui->tableWidget;
    table->horizontalHeader()->setDefaultSectionSize(keySize);
    table->verticalHeader()->setDefaultSectionSize(keySize);
    for (int index = 0; index < KEY_COUNT; ++index) {
        if (QTableWidgetItem *item = table->item(index / COLUMN_COUNT, index % COLUMN_COUNT)) {
            item->setSizeHint(QSize(keySize, keySize));
        }
        if (CDTMFLabel *key = keyLabel(index)) {
            key->setScale(scale);
        }
    }
}

} // namespace views
} // namespace kd_app
