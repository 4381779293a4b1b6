#pragma once

#include <QString>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace kd_app {
namespace views {

// Pieces the three login pages are built from, so that they line up.
namespace login_form_parts {

// A block of fixed height holding a vertical layout with the given spacing.
QVBoxLayout *addBlock(QVBoxLayout *page, const char *name, int height, int spacing);
// A caption and its line edit, stacked in a block of height 60.
void addField(QVBoxLayout *page, const char *blockName, QLabel *&label, const char *labelName, QLineEdit *&edit,
              const char *editName);
// The outer and inner layouts every page and the login window start with.
QVBoxLayout *makePageLayouts(QWidget *page);
// Names and sizes a page and returns the layout its blocks go into.
QVBoxLayout *startPage(QWidget *form, const char *name, int width, int height);
// The page's title in a block of height 50.
QLabel *addTitle(QVBoxLayout *page);
// A full-width red button in a block of the given height.
QPushButton *addMainButton(QVBoxLayout *page, const char *blockName, int blockHeight, const char *buttonName);

} // namespace login_form_parts
} // namespace views
} // namespace kd_app
