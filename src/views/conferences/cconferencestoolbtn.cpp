#include "cconferencestoolbtn.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

#include "views/base/cstyledbackground.h"
#include "views/conferences/cconferencesimages.h"

CConferencesToolBtn::CConferencesToolBtn(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    m_pIcon = new QLabel(this);
    m_pIcon->setObjectName("m_pIcon");
    m_pIcon->setFixedSize(30, 30);
    m_pText = new QLabel(this);
    m_pText->setObjectName("m_pText");
    layout->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    layout->addWidget(m_pIcon);
    layout->addItem(new QSpacerItem(10, 20, QSizePolicy::Fixed, QSizePolicy::Minimum));
    layout->addWidget(m_pText);
    layout->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    setCursor(Qt::PointingHandCursor);
}

CConferencesToolBtn::~CConferencesToolBtn() = default;

QString CConferencesToolBtn::textOf(int kind) const
{
    switch (kind) {
    case MyRoom:
        return tr("My room");
    case Schedule:
        return tr("Schedule meeting");
    case Join:
        return tr("Join meeting");
    default:
        return QString();
    }
}

void CConferencesToolBtn::setType(int kind)
{
    m_nKind = kind;
    m_pText->setText(textOf(kind));
    m_pText->adjustSize();
}

void CConferencesToolBtn::retranslate()
{
    if (m_nKind >= MyRoom && m_nKind <= Join) {
        m_pText->setText(textOf(m_nKind));
        m_pText->adjustSize();
    }
}

void CConferencesToolBtn::updateDpi(double scale)
{
    static const char *const icons[] = {"border-image: url(:/resources/images/conferences/icon_myroom%1.png);",
                                        "border-image: url(:/resources/images/conferences/icon_schedule%1.png);",
                                        "border-image: url(:/resources/images/conferences/icon_topjoin%1.png);"};
    // A tile of another kind shows no picture.
    const QString iconStyle = m_nKind >= MyRoom && m_nKind <= Join
                                  ? QString::fromLatin1(icons[m_nKind]).arg(conferencesImageSuffix(scale))
                                  : QString();
    const int fontSize = scale <= 1 ? 14 : scale < 2 ? 21 : 28;
    m_pText->setStyleSheet(QStringLiteral("font-size: %1px;").arg(fontSize));
    m_pText->adjustSize();
    const int side = int(30 * scale);
    m_pIcon->setFixedSize(side, side);
    m_pIcon->setStyleSheet(iconStyle);
    setStyleSheet(QStringLiteral("background: #ffffff"));
}

void CConferencesToolBtn::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit signal_clicked();
    }
}

void CConferencesToolBtn::paintEvent(QPaintEvent *)
{
    kd_app::views::paintStyledBackground(this);
}
