#pragma once

#include "dialogs/ReferenceLists.h"

#include <QObject>

class QWidget;

namespace tav {

struct AppContext;

// The "Listes" menu: the reference lists the entry windows choose from,
// the analyses' catalogue, and the species and their breeds.
class ListCommands : public QObject
{
    Q_OBJECT
public:
    ListCommands(AppContext& context, QWidget* window);

    void editReferences(ReferenceKind kind);
    void editAnalyses();
    void editSpecies();

signals:
    // Titles the pages show were edited.
    void listsEdited();
    // Species or breed titles were edited: the list's headers show them.
    void titlesEdited();

private:
    AppContext& m_context;
    QWidget* m_window;
};

} // namespace tav
