#include "booklet/pages/PageTable.h"

#include "booklet/pages/TAnalysisPage.h"
#include "booklet/pages/TCarePage.h"
#include "booklet/pages/TCurvePage.h"
#include "booklet/pages/TCustomPage.h"
#include "booklet/pages/TDocumentPage.h"
#include "booklet/pages/TEventPage.h"
#include "booklet/pages/TGeneralPage.h"
#include "booklet/pages/TVaccinePage.h"

namespace tav {

namespace {

template <typename Page> BookletPage* make(AppContext& context, int index, QWidget* parent)
{
    return new Page(context, index, parent);
}

} // namespace

const QVector<PageRow>& bookletPages()
{
    // Each tab a little lighter than the one before it.
    static const QVector<PageRow> rows = {{QColor(180, 180, 240), &make<TGeneralPage>},
                                          {QColor(185, 185, 255), &make<TCurvePage>},
                                          {QColor(190, 190, 255), &make<TCustomPage>},
                                          {QColor(195, 195, 255), &make<TConsultPage>},
                                          {QColor(200, 200, 255), &make<TPharmacyPage>},
                                          {QColor(205, 205, 255), &make<TAnalysisPage>},
                                          {QColor(210, 210, 255), &make<TVaccinePage>},
                                          {QColor(215, 215, 255), &make<TDocumentPage>},
                                          {QColor(220, 220, 255), &make<TEventPage>}};
    return rows;
}

} // namespace tav
