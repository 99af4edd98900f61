#include "dialogs/TTableList.h"

#include "core/ItemRoles.h"
#include "db/DataSet.h"
#include "db/DataSetModel.h"
#include "db/TableFilters.h"
#include "ui/FramedWindow.h"
#include "ui/GridColumnWidths.h"
#include "ui/GridLook.h"
#include "ui_TTableList.h"

#include <QLayout>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyleOptionSizeGrip>
#include <QTableView>

#include <algorithm>

namespace {

// The usual corner-grip picture of the style, drawn once for the label.
QPixmap gripPicture(const QWidget* on, const QSize& size)
{
    QPixmap picture(size * on->devicePixelRatio());
    picture.setDevicePixelRatio(on->devicePixelRatio());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QStyleOptionSizeGrip option;
    option.initFrom(on);
    option.rect = QRect(QPoint(0, 0), size);
    option.corner = Qt::BottomRightCorner;
    on->style()->drawControl(QStyle::CE_SizeGrip, &option, &painter, on);
    return picture;
}

} // namespace

TTableList::TTableList(tav::DataSet& query, const tav::TableFilter& filter, const QString& title,
                       const QString& gridName, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TTableList>()), m_query(query)
{
    m_ui->setupUi(this);
    m_ui->Title->setText(title);
    m_ui->Grid->setObjectName(gridName);
    m_ui->RezisePad->setPixmap(gripPicture(m_ui->RezisePad, m_ui->RezisePad->minimumSize()));

    m_query.close();
    filter.applyTo(m_query);
    m_query.open();
    QTableView* view = m_ui->Grid;
    view->setModel(new tav::DataSetModel(&m_query, this));
    tav::styleListGrid(view);
    view->setShowGrid(true);
    tav::applyDesignWidths(view);
    openWideEnough();
    // Fitted to the grid's width once shown, and again when resized.
    new tav::GridColumnWidths(view, QString());
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    tav::prepareWindow(this, false);
}

void TTableList::openWideEnough()
{
    QTableView* view = m_ui->Grid;
    // A long text (a remark of 255 characters) is given enough to read its
    // first words; the rest of the width goes to the others, whole.
    const int longText = 30 * view->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    int columns = 0;
    for (int c = 0; c < view->model()->columnCount(); ++c) {
        if (view->isColumnHidden(c))
            continue;
        const bool elastic =
            view->model()->headerData(c, Qt::Horizontal, tav::ElasticColumnRole).toBool();
        columns += elastic ? std::min(view->columnWidth(c), longText) : view->columnWidth(c);
    }
    // Room for the frame and a vertical scroll bar, which a long table
    // brings, besides the panel's margins around the grid.
    const QMargins margins = m_ui->Pan_Grid->layout()->contentsMargins();
    const int needed = columns + 2 * view->frameWidth() +
                       view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view) +
                       margins.left() + margins.right();
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const int screenWidth = screen ? screen->availableGeometry().width() : width();
    // Never narrower than designed; never wider than the screen, the long
    // texts then narrowing and eliding as on the booklet's pages.
    const int wanted = std::min(std::max(width(), needed), std::max(screenWidth, 200));
    if (wanted != width())
        resize(wanted, height());
}

TTableList::~TTableList()
{
    m_query.close();
}

QTableView* TTableList::grid() const
{
    return m_ui->Grid;
}

void TTableList::done(int result)
{
    m_query.close();
    QDialog::done(result);
}
