#include "cconferenceseditoricon.h"

#include <QHBoxLayout>
#include <QLabel>

#include "views/conferences/cconferencesimages.h"

CConferencesEditorIcon::CConferencesEditorIcon(QWidget *editor, const QString &plainImageFile)
    : m_strImageName(plainImageFile)
{
    auto *layout = new QHBoxLayout(editor);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addItem(new QSpacerItem(8, 10, QSizePolicy::Fixed, QSizePolicy::Minimum));
    m_pLabel = new QLabel(editor);
    m_pLabel->setObjectName("m_pLblIcon");
    m_pLabel->setFixedSize(14, 14);
    // Clicks go through to the editor under it.
    m_pLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(m_pLabel);
    layout->addStretch();
}

void CConferencesEditorIcon::updateDpi(double scale)
{
    m_pLabel->setStyleSheet(QStringLiteral("border-image: url(%1);").arg(conferencesImage(m_strImageName, scale)));
}
