#include "cmainwindowframe.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "helpers/clogformat.h"
#include "views/base/cstylestrings.h"

namespace kd_app {
namespace views {

namespace {

constexpr int TITLE_HEIGHT = 36;
constexpr int BUTTON_SIZE = 24;

const QString STYLE_CLOSE_BUTTON =
    "QPushButton{border-image: url(:/resources/images/window-title-bar/closed_normal.png); border: none;}"
    "QPushButton:hover{border-image: url(:/resources/images/window-title-bar/closed_hover.png);}"
    "QPushButton:pressed{border-image: url(:/resources/images/window-title-bar/closed_click.png);}";

QPushButton *makeButton(QWidget *bar, const char *name, const QString &style)
{
    auto *button = new QPushButton(bar);
    button->setObjectName(name);
    button->setFixedSize(BUTTON_SIZE, BUTTON_SIZE);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(style);
    return button;
}

} // namespace

CMainWindowFrame::CMainWindowFrame(QWidget *parent) : CBaseDlg(parent)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *titleBar = m_pWgtTitlebar = new QWidget(this);
    titleBar->setObjectName("m_pWgtTitlebar");
    titleBar->setAttribute(Qt::WA_StyledBackground);
    titleBar->setFixedHeight(TITLE_HEIGHT);
    auto *row = new QHBoxLayout(titleBar);
    row->setContentsMargins(12, 0, 8, 0);
    row->setSpacing(6);
    m_pLblTitle = new QLabel(titleBar);
    m_pLblTitle->setObjectName("m_pLblTitle");
    m_pLblTitle->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    row->addWidget(m_pLblTitle, 1);
    m_pBtnMin = makeButton(titleBar, "m_pBtnMin", STYLE_PLAYER_MINIMIZE_BUTTON);
    m_pBtnMax = makeButton(titleBar, "m_pBtnMax", STYLE_PLAYER_MAXIMIZE_BUTTON);
    m_pBtnRestore = makeButton(titleBar, "m_pBtnRestore", STYLE_PLAYER_RESTORE_BUTTON);
    m_pBtnClose = makeButton(titleBar, "m_pBtnClose", STYLE_CLOSE_BUTTON);
    m_maximizer.setButtons(m_pBtnMax, m_pBtnRestore);
    for (QPushButton *button : {m_pBtnMin, m_pBtnMax, m_pBtnRestore, m_pBtnClose}) {
        row->addWidget(button);
    }
    outer->addWidget(titleBar);
    m_nTitleHeight = TITLE_HEIGHT;

    m_pBodyLayout = new QVBoxLayout();
    m_pBodyLayout->setContentsMargins(40, 40, 40, 40);
    m_pBodyLayout->setSpacing(16);
    outer->addLayout(m_pBodyLayout, 1);

    connect(m_pBtnMin, &QPushButton::clicked, this, &CMainWindowFrame::showMinimized);
    connect(m_pBtnMax, &QPushButton::clicked, this, &CMainWindowFrame::slotOnWinMax);
    connect(m_pBtnRestore, &QPushButton::clicked, this, &CMainWindowFrame::slotOnWinRestore);
    connect(m_pBtnClose, &QPushButton::clicked, this, &CMainWindowFrame::close);
}

CMainWindowFrame::~CMainWindowFrame() = default;

void CMainWindowFrame::setTitleText(const QString &text)
{
    setWindowTitle(text);
    m_pLblTitle->setText(text);
}

QLabel *CMainWindowFrame::addBodyLabel(const char *name)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    m_pBodyLayout->addWidget(label);
    return label;
}

QPushButton *CMainWindowFrame::addBodyButton(const char *name)
{
    auto *button = new QPushButton(this);
    button->setObjectName(name);
    button->setStyleSheet(STYLE_RED_BUTTON);
    button->setAutoDefault(false);
    button->setMinimumSize(160, 36);
    button->setCursor(Qt::PointingHandCursor);
    m_pBodyLayout->addWidget(button, 0, Qt::AlignHCenter);
    return button;
}

void CMainWindowFrame::setScaledStyleSheet(const QString &styleSheet)
{
    m_qstrStyleSheet = styleSheet;
    onDpiChanged();
}

void CMainWindowFrame::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
}

void CMainWindowFrame::onDpiChanged()
{
    const double factor = m_fStretchFactor > 0 ? m_fStretchFactor : 1.0;
    KD_LOG << objectName() << "fStretchFactor:" << factor;
    QString styleSheet = m_qstrStyleSheet;
    static const QRegularExpression size(QStringLiteral("\\{(\\d+)\\}px"));
    QRegularExpressionMatch match;
    while ((match = size.match(styleSheet)).hasMatch()) {
        const int scaled = int(match.captured(1).toInt() * factor);
        styleSheet.replace(match.capturedStart(), match.capturedLength(), QString::number(scaled) + "px");
    }
    setStyleSheet(styleSheet);
    if (m_dpiScaler.isInitialized() && !m_maximizer.isMaximized()) {
        m_dpiScaler.scaleWindow(factor, this);
    }
    m_nTitleHeight = m_pWgtTitlebar->height();
}

void CMainWindowFrame::closeEvent(QCloseEvent *event)
{
    KD_LOG << "closeEvent" << objectName();
    emit sigClose();
    event->accept();
}

void CMainWindowFrame::slotOnWinMax()
{
    KD_LOG << "maximize" << objectName();
    m_maximizer.maximize(this);
}

void CMainWindowFrame::slotOnWinRestore()
{
    KD_LOG << "restore" << objectName();
    m_maximizer.restore(this);
}

} // namespace views
} // namespace kd_app
