#pragma once

// Typing and choosing as a user does, for the tests of windows.

#include "dialogs/TStrList.h"

#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <QTest>

// Types text key by key; accented letters go through plain key events,
// which QTest::keyClicks cannot send.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Replaces what a field holds by text, as typed.
inline void typeOver(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

// Chooses a line of the open pick list with the keyboard; *offered
// receives every line the list showed. False when no list is open or it
// has no such line.
inline bool chooseLine(const QString& text, QStringList* offered = nullptr)
{
    TStrList* list = TStrList::openList();
    if (!list)
        return false;
    if (offered)
        *offered = list->lines();
    const auto items = list->list()->findItems(text, Qt::MatchExactly);
    if (items.isEmpty())
        return false;
    list->list()->setCurrentItem(items.first());
    QTest::keyClick(list->list(), Qt::Key_Return);
    return true;
}
