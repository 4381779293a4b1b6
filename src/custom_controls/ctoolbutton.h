#pragma once

#include <QToolButton>

// The "Show PIP" button of the sharing toolbars: its whole look is one style
// sheet filled in for the display scale.
class CToolButton : public QToolButton
{
    Q_OBJECT

public:
    explicit CToolButton(QWidget *parent = nullptr);

    // Owners call it once with 1 after construction, then with each new scale.
    void onDpiChanged(double scale);
};
