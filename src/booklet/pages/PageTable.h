#pragma once

#include <QColor>
#include <QVector>

class QWidget;

namespace tav {

struct AppContext;
class BookletPage;

// One page of the notebook: the colour of its tab and how it is made. The
// page names its tab itself. Adding a page is one row of bookletPages()
// plus the page's own files.
struct PageRow
{
    QColor tabColour;
    BookletPage* (*make)(AppContext& context, int index, QWidget* parent);
};

// The pages in the order of their tabs.
const QVector<PageRow>& bookletPages();

} // namespace tav
