#include "booklet/PrinterSetup.h"

#include "ui/MessageBox.h"

#include <QPrintDialog>
#include <QPrinter>

namespace tav {

namespace {

struct Seam
{
    QList<bool> answers;
    int requests = 0;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

} // namespace

bool PrinterSetup::exec(QWidget* parent, QPrinter& printer)
{
    if (MessageBox::testMode()) {
        ++seam().requests;
        return !seam().answers.isEmpty() && seam().answers.takeFirst();
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imprimante"));
    return dialog.exec() == QDialog::Accepted;
}

void PrinterSetup::setNextAnswer(bool accepted)
{
    seam().answers.append(accepted);
}

int PrinterSetup::requestCount()
{
    return seam().requests;
}

void PrinterSetup::clearRequests()
{
    seam().requests = 0;
    seam().answers.clear();
}

} // namespace tav
