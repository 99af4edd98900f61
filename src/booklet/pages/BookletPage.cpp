#include "booklet/pages/BookletPage.h"

#include <QVariant>

namespace tav {

BookletPage::BookletPage(int index, const QString& caption, QWidget* parent)
    : QWidget(parent), m_index(index), m_caption(caption)
{
    // Tests and tools find a page by its place in the notebook.
    setObjectName(QStringLiteral("Page_") + QString::number(index));
}

void BookletPage::startPage() {}

void BookletPage::enterPage()
{
    refresh();
}

void BookletPage::leavePage() {}

void BookletPage::finishPage() {}

void BookletPage::refresh() {}

void BookletPage::updateActions(bool)
{
    // Pages of lists stay as they are: their buttons follow their own rules.
}

void BookletPage::refreshFacts() {}

void BookletPage::beginNewAnimal() {}

} // namespace tav
