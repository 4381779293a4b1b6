#include "cwaitingdlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QVBoxLayout>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

namespace {

QPointer<CWaitingDlg> &sharedInstance()
{
    static QPointer<CWaitingDlg> instance;
    return instance;
}

// A parentless widget must be gone before the application object is: a
// plain function-local static would be destroyed after it, at exit.
void destroySharedInstance()
{
    delete sharedInstance().data();
}

} // namespace

CWaitingDlg::CWaitingDlg(QWidget *parent)
    : CBaseDlg(parent), m_pMovie(std::make_unique<QMovie>()), m_animationFiles{":/resources/images/waiting.gif",
                                                                               ":/resources/images/waiting_1.5x.gif",
                                                                               ":/resources/images/waiting_2x.gif"}
{
    setObjectName("CWaitingDlg");
    resize(400, 300);
    auto *column = new QVBoxLayout(this);
    column->setObjectName("verticalLayout");
    auto *row = new QHBoxLayout();
    row->setObjectName("horizontalLayout");
    row->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_pLblDisplay = new QLabel(this);
    m_pLblDisplay->setObjectName("m_pLblDisplay");
    m_pLblDisplay->setAlignment(Qt::AlignCenter);
    row->addWidget(m_pLblDisplay);
    row->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    column->addLayout(row);

    helpers::CGeneralUtils::setStyle(this, QString(":/resources/qss/waiting-dlg.qss"));
    setWindowOpacity(0.7);
}

CWaitingDlg::~CWaitingDlg()
{
    KD_LOG << "kd_app::views::CWaitingDlg::~CWaitingDlg";
    m_pMovie.reset();
    KD_LOG << "kd_app::views::CWaitingDlg::~CWaitingDlg done";
}

CWaitingDlg *CWaitingDlg::getInstance()
{
    QPointer<CWaitingDlg> &instance = sharedInstance();
    if (!instance) {
        instance = new CWaitingDlg(nullptr);
        qAddPostRoutine(destroySharedInstance);
    }
    return instance;
}

void CWaitingDlg::setScaledFixedSize(int width, int height)
{
    // Before its first show the dialog has no factor yet; a zero-sized
    // dialog would cover nothing, so the design size stands in until then.
    const double f = m_fStretchFactor > 0.0 ? m_fStretchFactor : 1.0;
    setFixedSize(int(width * f), int(height * f));
}

QString CWaitingDlg::currentAnimation() const
{
    return m_pMovie->fileName();
}

void CWaitingDlg::mouseMoveEvent(QMouseEvent *event)
{
}

void CWaitingDlg::showEvent(QShowEvent *event)
{
    KD_LOG;
    CBaseDlg::showEvent(event);
    const double f = m_fStretchFactor;
    const QString &file =
        f <= 1.0 ? m_animationFiles.at(0) : (f < 2.0 ? m_animationFiles.at(1) : m_animationFiles.at(2));
    m_pMovie->stop();
    m_pMovie->setFileName(file);
    m_pLblDisplay->setMovie(m_pMovie.get());
    m_pMovie->start();
}

void CWaitingDlg::hideEvent(QHideEvent *event)
{
    KD_LOG;
    m_pMovie->stop();
    m_pLblDisplay->clear();
    CBaseDlg::hideEvent(event);
}

} // namespace views
} // namespace kd_app
