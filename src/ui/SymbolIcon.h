#pragma once

#include <QIcon>
#include <QString>

class QAbstractButton;

namespace tav {

// A symbol of the program's own, drawn from its SVG resource
// (":/symbols/<name>.svg") at whatever size the button asks, the same on
// every machine: a character such as "⎙" shows as an empty box where the
// installed fonts lack it. A null icon when the resource is missing or is
// not a drawable SVG.
QIcon symbolIcon(const QString& name);

// Shows the symbol on the button in place of its text; its tooltip still
// says what it does.
void setSymbol(QAbstractButton* button, const QString& name);

} // namespace tav
