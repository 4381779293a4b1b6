#include "cloginformparts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/base/cstylestrings.h"

namespace kd_app {
namespace views {
namespace login_form_parts {

namespace {

constexpr int FIELD_BLOCK_HEIGHT = 60;
constexpr int FIELD_SPACING = 2;
constexpr int LABEL_MINIMUM_HEIGHT = 16;
constexpr int EDIT_MINIMUM_HEIGHT = 22;

} // namespace

QVBoxLayout *makePageLayouts(QWidget *page)
{
    auto *outer = new QVBoxLayout(page);
    outer->setObjectName("verticalLayout_2");
    outer->setSpacing(0);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *inner = new QVBoxLayout();
    inner->setObjectName("verticalLayout");
    inner->setSpacing(0);
    const QMargins defaults = inner->contentsMargins();
    inner->setContentsMargins(defaults.left(), defaults.top(), defaults.right(), 0);
    outer->addLayout(inner);
    return inner;
}

QVBoxLayout *startPage(QWidget *form, const char *name, int width, int height)
{
    form->setObjectName(name);
    form->resize(width, height);
    return makePageLayouts(form);
}

QLabel *addTitle(QVBoxLayout *page)
{
    QVBoxLayout *block = addBlock(page, "wgtTitle", 50, 0);
    auto *title = new QLabel(block->parentWidget());
    title->setObjectName("m_pLblTitle");
    block->addWidget(title);
    return title;
}

QPushButton *addMainButton(QVBoxLayout *page, const char *blockName, int blockHeight, const char *buttonName)
{
    QVBoxLayout *block = addBlock(page, blockName, blockHeight, 0);
    auto *button = new QPushButton(block->parentWidget());
    button->setObjectName(buttonName);
    button->setMinimumHeight(30);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(STYLE_RED_BUTTON);
    block->addWidget(button);
    return button;
}

QVBoxLayout *addBlock(QVBoxLayout *page, const char *name, int height, int spacing)
{
    auto *block = new QWidget(page->parentWidget());
    block->setObjectName(name);
    block->setFixedHeight(height);
    auto *layout = new QVBoxLayout(block);
    layout->setSpacing(spacing);
    layout->setContentsMargins(0, 0, 0, 0);
    page->addWidget(block);
    return layout;
}

void addField(QVBoxLayout *page, const char *blockName, QLabel *&label, const char *labelName, QLineEdit *&edit,
              const char *editName)
{
    QVBoxLayout *block = addBlock(page, blockName, FIELD_BLOCK_HEIGHT, FIELD_SPACING);
    label = new QLabel(block->parentWidget());
    label->setObjectName(labelName);
    label->setMinimumHeight(LABEL_MINIMUM_HEIGHT);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    edit = new QLineEdit(block->parentWidget());
    edit->setObjectName(editName);
    edit->setMinimumHeight(EDIT_MINIMUM_HEIGHT);
    block->addWidget(label);
    block->addWidget(edit);
}

} // namespace login_form_parts
} // namespace views
} // namespace kd_app
