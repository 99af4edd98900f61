#include "booklet/pages/BookletPage.h"

#include <QVariant>

namespace tav {

BookletPage::BookletPage(int index, const QString& caption, QWidget* parent)
    : QWidget(parent), m_index(index), m_caption(caption)
{
    // The window finds its pages by these, as the design's handlers did.
    setObjectName(QStringLiteral("Page_") + QString::number(index));
    setProperty("caption", caption);
}

void BookletPage::refresh() {}

void BookletPage::setAnimalPresent(bool)
{
    // Pages of lists stay as they are: their buttons follow their own rules.
}

} // namespace tav
