#include "dialogs/TTableList.h"

#include "db/DataSet.h"
#include "db/DataSetModel.h"
#include "db/TableFilters.h"
#include "ui/FramedWindow.h"
#include "ui/GridLook.h"
#include "ui_TTableList.h"

#include <QPainter>
#include <QPixmap>
#include <QStyleOptionSizeGrip>

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
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    tav::prepareWindow(this, false);
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
