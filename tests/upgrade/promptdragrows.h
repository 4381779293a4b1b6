#pragma once

#include <QtTest>

// The parts of the upgrade prompt a drag may start on: only its title bar
// (the bar or the title's text) moves the prompt.
inline void addPromptDragRows()
{
    QTest::addColumn<QString>("pressedOn");
    QTest::addColumn<bool>("moves");
    QTest::newRow("title bar") << "Titlebar" << true;
    QTest::newRow("title text") << "titleName" << true;
    QTest::newRow("content") << "widget" << false;
    QTest::newRow("button row") << "toolbar" << false;
}
