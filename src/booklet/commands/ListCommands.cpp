#include "booklet/commands/ListCommands.h"

#include "booklet/AppContext.h"
#include "dialogs/TAnalysisList.h"
#include "dialogs/TEnterBreeds.h"

#include <QWidget>

namespace tav {

ListCommands::ListCommands(AppContext& context, QWidget* window)
    : QObject(window), m_context(context), m_window(window)
{}

void ListCommands::editReferences(ReferenceKind kind)
{
    if (m_context.module1 && editReferenceList(m_window, *m_context.module1, kind))
        emit listsEdited();
}

void ListCommands::editAnalyses()
{
    if (!m_context.module1)
        return;
    // The Analyses page shows the catalogue's titles.
    editAnalysisList(m_window, *m_context.module1);
    emit listsEdited();
}

void ListCommands::editSpecies()
{
    if (m_context.module1 && editSpeciesAndBreeds(m_window, *m_context.module1))
        emit titlesEdited();
}

} // namespace tav
