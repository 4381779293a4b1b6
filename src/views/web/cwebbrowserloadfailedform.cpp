#include "cwebbrowserloadfailedform.h"

#include "ui_cwebbrowserloadfailedform.h"
#include "views/web/cwebcoverscale.h"

namespace kd_app {
namespace views {

namespace {

QString buttonStyle(int fontPx)
{
    return QStringLiteral("color: #ffffff;         font-size: %1px;         background-color: #f5452e;         "
                          "border: none;         border-radius: 5px;")
        .arg(fontPx);
}

} // namespace

CWebBrowserLoadFailedForm::CWebBrowserLoadFailedForm(QWidget *parent)
    : QWidget(parent), m_pUi(std::make_unique<Ui::CWebBrowserLoadFailedForm>())
{
    m_pUi->setupUi(this);
    m_pUi->label->setStyleSheet(QStringLiteral("font-size: 12px;"));
    fillWhite(this);
    m_pUi->pBtReload->setStyleSheet(buttonStyle(12));
    connect(m_pUi->pBtReload, &QPushButton::clicked, this, &CWebBrowserLoadFailedForm::signal_reload);
}

CWebBrowserLoadFailedForm::~CWebBrowserLoadFailedForm() = default;

void CWebBrowserLoadFailedForm::updateDpi(double scale)
{
    m_scaler.init(width(), height(), this);
    m_scaler.scaleWidget(scale, this, false);
    const CWebCoverScale cover(scale);
    m_pUi->label->setStyleSheet(QStringLiteral("font-size: %1px;").arg(cover.fontPx()));
    m_pUi->pBtReload->setStyleSheet(buttonStyle(cover.fontPx()));
    m_pUi->label_failedpic->setStyleSheet(
        QStringLiteral("border-image: url(:/resources/images/default_page_nonetwork%1.png);").arg(cover.fileSuffix()));
}

void CWebBrowserLoadFailedForm::retranslate()
{
    m_pUi->retranslateUi(this);
}

} // namespace views
} // namespace kd_app
