#include "cwebbrowserloadingform.h"

#include <QMovie>

#include "ui_cwebbrowserloadingform.h"
#include "views/web/cwebcoverscale.h"

namespace kd_app {
namespace views {

CWebBrowserLoadingForm::CWebBrowserLoadingForm(QWidget *parent)
    : QWidget(parent), m_pUi(std::make_unique<Ui::CWebBrowserLoadingForm>()), m_pMovie(std::make_unique<QMovie>())
{
    m_pUi->setupUi(this);
    m_pUi->label_text->setStyleSheet(QStringLiteral("font-size: 12px;"));
    fillWhite(this);
}

CWebBrowserLoadingForm::~CWebBrowserLoadingForm()
{
    m_pMovie->stop();
}

void CWebBrowserLoadingForm::updateDpi(double scale)
{
    m_scaler.init(width(), height(), this);
    m_scaler.scaleWidget(scale, this, false);
    const CWebCoverScale cover(scale);
    m_pMovie->stop();
    m_pUi->label_laodgif->clear();
    m_pMovie->setFileName(QStringLiteral(":/resources/images/loading%1.gif").arg(cover.fileSuffix()));
    m_pUi->label_text->setStyleSheet(QStringLiteral("font-size: %1px;").arg(cover.fontPx()));
    m_pUi->label_laodgif->setMovie(m_pMovie.get());
    m_pMovie->start();
}

void CWebBrowserLoadingForm::retranslate()
{
    m_pUi->retranslateUi(this);
}

} // namespace views
} // namespace kd_app
