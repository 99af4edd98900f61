#pragma once

#include <QList>

class QPrinter;
class QWidget;

namespace tav {

// The system's dialog that chooses the printer and sets it up. In the
// message boxes' test mode no dialog is shown: each request is counted and
// answered with the next queued answer, an empty queue meaning that the
// user cancelled.
class PrinterSetup
{
public:
    // True when the user accepted the dialog; the printer then holds the
    // choice.
    static bool exec(QWidget* parent, QPrinter& printer);

    static void setNextAnswer(bool accepted);
    static int requestCount();
    static void clearRequests();
};

} // namespace tav
