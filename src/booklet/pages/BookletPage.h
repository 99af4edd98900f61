#pragma once

#include "booklet/pages/PageRequests.h"

#include <QWidget>

namespace tav {

// One page of the booklet's notebook, as the main window sees it. The
// window knows a page only through this: it creates the pages from one
// table, tells them when they are entered and left and whether an animal
// is current, and answers what they ask through the signals below. No
// widget or data set of a page is known outside it.
class BookletPage : public QWidget
{
    Q_OBJECT
public:
    BookletPage(int index, const QString& caption, QWidget* parent = nullptr);

    int pageIndex() const { return m_index; }
    const QString& caption() const { return m_caption; }

    // The window is built and the animals are open: the page reads what it
    // shows for every animal.
    virtual void startPage();
    // The page is shown: it loads what it shows of the current animal.
    virtual void enterPage();
    // The page is hidden: it gives back the rows it holds, which the next
    // entering reads again.
    virtual void leavePage();
    // The window closes: everything the page holds is given back.
    virtual void finishPage();
    // Loads what the page shows of the current animal. Pages whose fields
    // are bound to the animal's columns need nothing.
    virtual void refresh();
    // Enables the page's own commands, by whether an animal is current and
    // by the page's rows.
    virtual void updateActions(bool animalPresent);
    // A new animal was added, shown on this page for its first entries.
    virtual void beginNewAnimal();
    // What another page changed about the current animal (the titles of its
    // species and breed, its target weight) is shown again.
    virtual void refreshFacts();

signals:
    // Something the commands' state depends on changed: the window asks
    // every page to update its actions.
    void controlsChanged();
    // The animal's row in the list must be drawn again (its photo changed).
    void animalRowChanged(int animalId);
    // Titles shown by the list and the other pages were edited.
    void titlesChanged();
    // Facts shown by other pages were changed (see refreshFacts()).
    void factsChanged();
    // The page asks for pictures to be shown, or printed.
    void previewRequested(const tav::DocumentPreview& preview);
    // The page asks for files to be sent, each as the page described it.
    void emailRequested(const QVector<tav::DocumentAttachment>& attachments);

private:
    int m_index;
    QString m_caption;
};

} // namespace tav
