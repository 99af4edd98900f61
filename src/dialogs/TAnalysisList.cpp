#include "dialogs/TAnalysisList.h"

#include "db/AnalysisStore.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/ReferenceLists.h"
#include "dialogs/TEnterAnalysis.h"
#include "ui/MessageBox.h"

#include <QHeaderView>
#include <QTableView>

using namespace tav;

namespace {

// The catalogue names no row of the booklets through a reference kind: its
// own entry window, add and delete replace every use of the kind.
const ReferenceListDefinition kAnalysisList = {
    ReferenceKind::Drug,      "Lst_Analysis", "  Liste des analyses",
    "  Saisie d'une analyse", "Ed_Title",     "Désirez-vous supprimer cette analyse ?"};

} // namespace

TAnalysisList::TAnalysisList(DataModule1& module, QWidget* parent)
    : TReferenceList(kAnalysisList, module, parent)
{
    setObjectName(QStringLiteral("TAnalysisList"));
}

void TAnalysisList::open()
{
    TReferenceList::open();
    // The title's design width alone would push the description out of
    // the window.
    QTableView* list = grid();
    const QFontMetrics metrics(list->font());
    const int widths[] = {metrics.horizontalAdvance(QLatin1Char('M')) * 14,
                          metrics.horizontalAdvance(QStringLiteral("mmol/l  ")),
                          metrics.horizontalAdvance(QStringLiteral("Decimales  "))};
    for (int column = 0; column < 3; ++column)
        list->setColumnWidth(column, widths[column]);
    list->setColumnWidth(3, metrics.horizontalAdvance(QStringLiteral("Description  ")));
    list->horizontalHeader()->setStretchLastSection(true);
}

std::unique_ptr<QDialog> TAnalysisList::makeEntry()
{
    return std::make_unique<TEnterAnalysis>(dataSet(),
                                            module().dataSet(QStringLiteral("ComboItems")), this);
}

void TAnalysisList::Btn_AddClick()
{
    DataSet& catalogue = dataSet();
    try {
        catalogue.append();
        catalogue.setValue(QStringLiteral("Unit"), QString());
        catalogue.setValue(QStringLiteral("Decimal"), 2);
        catalogue.setValue(QStringLiteral("Value_Min"), 0.0);
        catalogue.setValue(QStringLiteral("Value_Max"), 0.0);
    } catch (const DbError& e) {
        if (catalogue.isEditing())
            catalogue.cancel();
        showError(this, e.message());
        return;
    }
    showEntry();
}

void TAnalysisList::Btn_DeleteClick()
{
    DataSet& catalogue = dataSet();
    if (catalogue.isEmpty())
        return;
    if (!MessageBox::question(this, QString::fromUtf8("Désirez-vous supprimer cette analyse ?")))
        return;
    try {
        AnalysisStore(module()).removeDefinition(catalogue);
        setChanged();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    applyButtonRule();
    selectCurrentRow();
}

namespace tav {

bool editAnalysisList(QWidget* parent, DataModule1& module)
{
    std::unique_ptr<TAnalysisList> window;
    try {
        window = std::make_unique<TAnalysisList>(module, parent);
        window->open();
    } catch (const DbError& e) {
        showError(parent, e.message());
        return false;
    }
    window->exec();
    return window->changed();
}

} // namespace tav
