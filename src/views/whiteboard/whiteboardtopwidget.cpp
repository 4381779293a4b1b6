#include "whiteboardtopwidget.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace kd_app {
namespace views {

WhiteBoardTopWidget::WhiteBoardTopWidget(QWidget *parent) : CBaseWgt(parent)
{
    setObjectName("WhiteBoardTopWidget");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    m_pBtnShowPic = new QPushButton(tr("Show PIP"), this);
    m_pBtnShowPic->setObjectName("m_pBtnShowPic");
    m_pBtnShowPic->hide();
    m_pBtnClose = new QPushButton(tr("Close"), this);
    m_pBtnClose->setObjectName("m_pBtnClose");
    layout->addWidget(m_pBtnShowPic);
    layout->addStretch(1);
    layout->addWidget(m_pBtnClose);
    connect(m_pBtnShowPic, &QPushButton::clicked, this, [this] {
        m_pBtnShowPic->hide();
        emit sigOnShowPicture();
    });
    connect(m_pBtnClose, &QPushButton::clicked, this, &WhiteBoardTopWidget::sigClose);
}

WhiteBoardTopWidget::~WhiteBoardTopWidget() = default;

void WhiteBoardTopWidget::updateShowPicture(bool stripHidden)
{
    m_pBtnShowPic->setVisible(stripHidden);
}

bool WhiteBoardTopWidget::isShowPictureVisible() const
{
    return !m_pBtnShowPic->isHidden();
}

void WhiteBoardTopWidget::slotHidePicture()
{
    updateShowPicture(true);
}

} // namespace views
} // namespace kd_app
