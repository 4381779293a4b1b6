#include "alertdlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
#include <QTimer>
#include <QVBoxLayout>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "views/base/cmodualdlgsmanager.h"

namespace kd_app {
namespace views {

namespace {

constexpr int DESIGN_WIDTH = 430;
constexpr int DESIGN_HEIGHT = 230;
constexpr int BUTTON_WIDTH = 80;
constexpr int BUTTON_HEIGHT = 27;
const char STYLE_BASE[] = ":/resources/qss/alert-dlg";

AlertDlg::ParentProvider &parentProvider()
{
    static AlertDlg::ParentProvider provider;
    return provider;
}

QPushButton *makeButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFixedSize(BUTTON_WIDTH, BUTTON_HEIGHT);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QHBoxLayout *makeRow(QWidget *owner, const char *name, int spacing, const QMargins &margins)
{
    auto *row = new QHBoxLayout(owner);
    row->setObjectName(name);
    row->setSpacing(spacing);
    row->setContentsMargins(margins);
    return row;
}

} // namespace

// The widgets of the box, named as the style sheets address them.
struct AlertDlgForm
{
    explicit AlertDlgForm(QDialog *dialog);

    QWidget *m_titleWidget = nullptr;
    QLabel *m_title = nullptr;
    QPushButton *m_closeBtn = nullptr;
    QLabel *label = nullptr;
    QLabel *m_alertContent = nullptr;
    QWidget *m_bottomWidget = nullptr;
    QHBoxLayout *bottomLayout = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
    QPushButton *m_button3 = nullptr;
};

AlertDlgForm::AlertDlgForm(QDialog *dialog)
{
    dialog->setObjectName("AlertDlg");
    dialog->resize(DESIGN_WIDTH, DESIGN_HEIGHT);
    dialog->setMinimumSize(DESIGN_WIDTH, DESIGN_HEIGHT);
    dialog->setMaximumSize(DESIGN_WIDTH, DESIGN_HEIGHT);
    auto *outer = new QVBoxLayout(dialog);
    outer->setObjectName("verticalLayout_4");
    outer->setSpacing(0);
    outer->setContentsMargins(1, 1, 1, 1);

    m_titleWidget = new QWidget(dialog);
    m_titleWidget->setObjectName("m_titleWidget");
    m_titleWidget->setFixedHeight(30);
    auto *titleRow = makeRow(m_titleWidget, "horizontalLayout_2", 0, QMargins(12, 0, 0, 0));
    m_title = new QLabel(QCoreApplication::translate("AlertDlg", "Note"), m_titleWidget);
    m_title->setObjectName("m_title");
    m_title->setMinimumSize(90, 30);
    m_title->resize(90, 30);
    titleRow->addWidget(m_title);
    titleRow->addItem(new QSpacerItem(235, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_closeBtn = new QPushButton(m_titleWidget);
    m_closeBtn->setObjectName("m_closeBtn");
    m_closeBtn->setFixedSize(28, 28);
    m_closeBtn->setCursor(Qt::PointingHandCursor);
    titleRow->addWidget(m_closeBtn);
    outer->addWidget(m_titleWidget);

    auto *content = new QWidget(dialog);
    content->setObjectName("verticalWidget_2");
    auto *contentRow = makeRow(content, "horizontalLayout_3", 10, QMargins(0, 0, 20, 0));
    contentRow->addItem(new QSpacerItem(20, 20, QSizePolicy::Fixed, QSizePolicy::Minimum));
    label = new QLabel(content);
    label->setObjectName("label");
    label->setFixedSize(44, 36);
    contentRow->addWidget(label);
    m_alertContent = new QLabel(content);
    m_alertContent->setObjectName("m_alertContent");
    m_alertContent->resize(320, 130);
    m_alertContent->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_alertContent->setWordWrap(true);
    m_alertContent->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    contentRow->addWidget(m_alertContent);
    outer->addWidget(content);

    m_bottomWidget = new QWidget(dialog);
    m_bottomWidget->setObjectName("m_bottomWidget");
    m_bottomWidget->setFixedHeight(44);
    bottomLayout = makeRow(m_bottomWidget, "horizontalLayout", 5, QMargins(0, 0, 20, 0));
    bottomLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_button3 = makeButton(m_bottomWidget, "m_button3");
    m_button2 = makeButton(m_bottomWidget, "m_button2");
    m_button1 = makeButton(m_bottomWidget, "m_button1");
    bottomLayout->addWidget(m_button3);
    bottomLayout->addWidget(m_button2);
    bottomLayout->addWidget(m_button1);
    outer->addWidget(m_bottomWidget);
}

AlertDlg::AlertDlg(QWidget *parent) : CBaseDlg(parent), m_pForm(std::make_unique<AlertDlgForm>(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Without a window type a parented box would be drawn inside its parent.
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    setWindowModality(Qt::WindowModal);
    helpers::CGeneralUtils::setStyle(this, QString(STYLE_BASE) + ".qss");
    m_nTitleHeight = m_pForm->m_titleWidget->height();
    m_pForm->m_button1->hide();
    m_pForm->m_button2->hide();
    m_pForm->m_button3->hide();
    connect(m_pForm->m_closeBtn, &QPushButton::clicked, this, &AlertDlg::close);
    connect(m_pForm->m_button1, &QPushButton::clicked, this, &AlertDlg::slotOnClickButton1);
    connect(m_pForm->m_button2, &QPushButton::clicked, this, &AlertDlg::slotOnClickButton2);
    connect(m_pForm->m_button3, &QPushButton::clicked, this, &AlertDlg::slotOnClickButton3);
    KD_LOG << "kd_app::views::AlertDlg::AlertDlg" << this;
}

AlertDlg::AlertDlg(QWidget *parent, const QString &title, const QString &text, QMessageBox::StandardButtons buttons,
                   QMessageBox::StandardButton defaultButton)
    : CBaseDlg(parent), m_pForm(std::make_unique<AlertDlgForm>(this))
{
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    setWindowModality(Qt::WindowModal);
    m_pForm->m_closeBtn->hide();
    m_pForm->label->hide();
    m_pForm->m_button1->hide();
    m_pForm->m_button2->hide();
    m_pForm->m_button3->hide();
    buildButtonBox(buttons, defaultButton);
    m_pForm->m_title->setText(title);
    m_pForm->m_alertContent->setText(text);
    connect(m_pButtonBox, &QDialogButtonBox::clicked, this, &AlertDlg::onButtonClicked);
    KD_LOG << "kd_app::views::AlertDlg::AlertDlg" << this << ", parent " << parent << ", text " << text;
    CModualDlgsManager::closeAllModualDlgs(true);
}

AlertDlg::~AlertDlg()
{
    KD_LOG << "kd_app::views::AlertDlg::~AlertDlg" << this;
}

void AlertDlg::buildButtonBox(QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    m_pButtonBox = new QDialogButtonBox(QDialogButtonBox::StandardButtons(int(buttons)), this);
    if (QPushButton *preferred = m_pButtonBox->button(QDialogButtonBox::StandardButton(defaultButton))) {
        preferred->setDefault(true);
        preferred->setFocus();
    }
    const QList<QAbstractButton *> boxButtons = m_pButtonBox->buttons();
    for (QAbstractButton *button : boxButtons) {
        // Some desktop styles put stock icons on box buttons; ours are text only.
        button->setIcon(QIcon());
        button->setFixedSize(BUTTON_WIDTH, BUTTON_HEIGHT);
        button->setCursor(Qt::PointingHandCursor);
    }
    if (QPushButton *ok = m_pButtonBox->button(QDialogButtonBox::Ok)) {
        ok->setText(tr("OK"));
        ok->setObjectName("OkYesButton");
    } else if (QPushButton *yes = m_pButtonBox->button(QDialogButtonBox::Yes)) {
        yes->setText(tr("Yes"));
        yes->setObjectName("OkYesButton");
    }
    if (QPushButton *cancel = m_pButtonBox->button(QDialogButtonBox::Cancel)) {
        cancel->setText(tr("Cancel"));
        cancel->setObjectName("CancelNoButton");
    } else if (QPushButton *no = m_pButtonBox->button(QDialogButtonBox::No)) {
        no->setText(tr("No"));
        no->setObjectName("CancelNoButton");
    }
    m_pForm->bottomLayout->insertWidget(1, m_pButtonBox);
}

void AlertDlg::setParentProvider(ParentProvider provider)
{
    parentProvider() = std::move(provider);
}

QWidget *AlertDlg::resolveParent(QWidget *parent)
{
    if (parent || !parentProvider()) {
        return parent;
    }
    return parentProvider()();
}

int AlertDlg::runModal(QWidget *parent, const QString &title, const QString &text, QMessageBox::StandardButtons buttons,
                       QMessageBox::StandardButton defaultButton)
{
    // On the heap and watched: the parent may be destroyed while the nested
    // event loop runs, and it then takes the box with it.
    QPointer<AlertDlg> box = new AlertDlg(resolveParent(parent), title, text, buttons, defaultButton);
    const int result = box->exec();
    if (!box) {
        return QMessageBox::Cancel;
    }
    const int answer = result == QDialog::Accepted ? box->m_clickedButton : int(QMessageBox::Cancel);
    delete box;
    return answer;
}

int AlertDlg::information(QWidget *parent, const QString &title, const QString &text)
{
    return runModal(parent, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

int AlertDlg::question(QWidget *parent, const QString &title, const QString &text, QMessageBox::StandardButtons buttons,
                       QMessageBox::StandardButton defaultButton)
{
    return runModal(parent, title, text, buttons, defaultButton);
}

void AlertDlg::informationNonModal(QWidget *parent, const QString &title, const QString &text)
{
    auto *box = new AlertDlg(resolveParent(parent), title, text, QMessageBox::Ok, QMessageBox::NoButton);
    box->m_bNonModal = true;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void AlertDlg::setContent(const QString &text)
{
    m_pForm->m_alertContent->setText(text);
}

void AlertDlg::setButton1Text(const QString &text)
{
    m_pForm->m_button1->setText(text);
    m_pForm->m_button1->show();
}

void AlertDlg::setButton2Text(const QString &text)
{
    m_pForm->m_button2->setText(text);
    m_pForm->m_button2->show();
}

void AlertDlg::setCloseButtonVisible(bool visible)
{
    m_pForm->m_closeBtn->setVisible(visible);
}

void AlertDlg::slotOnWinClose()
{
    close();
}

void AlertDlg::slotOnClickButton1()
{
    emit sigClickButton1();
}

void AlertDlg::slotOnClickButton2()
{
    emit sigClickButton2();
}

void AlertDlg::slotOnClickButton3()
{
    emit sigClickButton3();
}

void AlertDlg::onButtonClicked(QAbstractButton *button)
{
    m_clickedButton = m_pButtonBox->standardButton(button);
    if (m_bNonModal) {
        close();
    } else {
        accept();
    }
}

void AlertDlg::closeEvent(QCloseEvent *event)
{
    emit sigCloseWindow();
    event->accept();
}

void AlertDlg::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
    centerWindowOnScreen();
    // Without a window manager nothing keeps a box above its parent, and a
    // parent that comes forward while the box opens (the whiteboard window
    // after its snapshot) would hide a modal box that then blocks it unseen:
    // the box comes forward once shown and again a moment later.
    for (int ms : {0, 250}) {
        QTimer::singleShot(ms, this, [this] {
            raise();
            activateWindow();
        });
    }
}

void AlertDlg::onDpiChanged()
{
    const double f = m_fStretchFactor;
    QFont textFont = m_pForm->m_title->font();
    if (textFont.weight() <= 57) {
        textFont.setWeight(75);
    }
    textFont.setPixelSize(int(14 * f));
    m_pForm->m_title->setFont(textFont);
    // The message reads more calmly in the regular weight of the same size.
    textFont.setWeight(QFont::Normal);
    m_pForm->m_alertContent->setFont(textFont);

    QFont buttonFont = m_pForm->m_button1->font();
    buttonFont.setPixelSize(int(12 * f));
    m_pForm->m_button1->setFont(buttonFont);
    m_pForm->m_button2->setFont(buttonFont);
    m_pForm->m_button3->setFont(buttonFont);

    setStyleSheet(QString());
    setStyleSheetByScale(STYLE_BASE);
    m_dpiScaler.scaleWindow(f, this);
    m_nTitleHeight = m_pForm->m_titleWidget->height();
}

} // namespace views
} // namespace kd_app
