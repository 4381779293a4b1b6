#include "cjoinconfcombo.h"

#include <QHBoxLayout>
#include <QLineEdit>

CJoinConfCombo::CJoinConfCombo(QWidget *parent) : QComboBox(parent)
{
}

void CJoinConfCombo::initLineEdit()
{
    if (m_comboLineEdit) {
        return;
    }
    m_comboLineEdit = new QLineEdit(this);
    m_comboLineEdit->setObjectName("m_comboLineEdit");
    m_comboLineEdit->setFrame(false);
    m_comboLineEdit->setAlignment(Qt::AlignCenter);
    // It lies over the combo's own line edit and must hide that one's text.
    m_comboLineEdit->setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(30, 2, 30, 2);
    layout->addWidget(m_comboLineEdit);

    // The inner line edit and the combo's current text follow each other: a
    // number picked from the list shows in the field, a typed one becomes
    // the combo's text.
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), m_comboLineEdit,
            [this](int index) { m_comboLineEdit->setText(itemText(index)); });
    connect(m_comboLineEdit, &QLineEdit::textChanged, this, &QComboBox::setCurrentText);
}

void CJoinConfCombo::setText(const QString &text)
{
    if (m_comboLineEdit) {
        m_comboLineEdit->setText(text);
        return;
    }
    setCurrentText(text);
}

void CJoinConfCombo::setPlaceholderText(const QString &text)
{
    if (QLineEdit *own = lineEdit()) {
        own->setPlaceholderText(text);
    }
    if (m_comboLineEdit) {
        m_comboLineEdit->setPlaceholderText(text);
    }
}

void CJoinConfCombo::updateDpi(double scale)
{
    if (!m_comboLineEdit) {
        return;
    }
    QFont font = m_comboLineEdit->font();
    font.setPixelSize(int(14 * (scale > 0 ? scale : 1.0)));
    m_comboLineEdit->setFont(font);
}
