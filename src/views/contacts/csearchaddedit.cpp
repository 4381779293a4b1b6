#include "csearchaddedit.h"

#include <QHBoxLayout>
#include <QLabel>

CSearchAddEdit::CSearchAddEdit(QWidget *parent) : QLineEdit(parent)
{
    m_pLayout = new QHBoxLayout(this);
    m_pLayout->setContentsMargins(8, 0, 8, 0);
    m_label = new QLabel(this);
    m_label->setObjectName("m_label");
    m_label->setFixedSize(14, 14);
    m_pLayout->addWidget(m_label);
    m_pLayout->addStretch();
    setTextMargins(36, 0, 36, 0);
    setContentsMargins(0, 0, 0, 0);
}

CSearchAddEdit::~CSearchAddEdit() = default;

void CSearchAddEdit::updateDpi(double scale)
{
    const int side = int(14 * scale);
    m_label->setFixedSize(side, side);
}
