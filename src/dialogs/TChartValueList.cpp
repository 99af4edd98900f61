#include "dialogs/TChartValueList.h"

#include "charts/MeasureChartView.h"
#include "core/Clock.h"
#include "core/DateRoutines.h"
#include "core/FlagColours.h"
#include "db/DataSet.h"
#include "db/DataSetModel.h"
#include "db/DbError.h"
#include "db/MeasureStore.h"
#include "dialogs/ReportWindows.h"
#include "dialogs/TEnterWeight.h"
#include "report/ReportRunner.h"
#include "ui/FramedWindow.h"
#include "ui/GridLook.h"
#include "ui/MessageBox.h"
#include "ui_TChartValueList.h"

#include <QAction>
#include <QActionGroup>
#include <QColor>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

namespace tav {

namespace {

// The weighings outside the animal's target band carry the analyses' flag:
// an arrow beside the value, in their colour, with a tooltip.
class WeightFlagModel : public QIdentityProxyModel
{
public:
    WeightFlagModel(const DataSet& rows, const WeightBand& band, QObject* parent)
        : QIdentityProxyModel(parent), m_rows(rows), m_band(band)
    {}

    QVariant data(const QModelIndex& index, int role) const override
    {
        const WeightBand::Flag flag = flagOf(index);
        if (flag != WeightBand::Flag::Inside) {
            const bool above = flag == WeightBand::Flag::Above;
            switch (role) {
            case Qt::DisplayRole:
                return QString(QIdentityProxyModel::data(index, role).toString() +
                               (above ? QStringLiteral(" ↑") : QStringLiteral(" ↓")));
            case Qt::ForegroundRole:
                return QVariant(above ? aboveRangeColour() : belowRangeColour());
            case Qt::ToolTipRole:
                return above ? QStringLiteral("Au-dessus du poids cible")
                             : QStringLiteral("En dessous du poids cible");
            default:
                break;
            }
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    WeightBand::Flag flagOf(const QModelIndex& index) const
    {
        auto* source = static_cast<DataSetModel*>(sourceModel());
        if (m_band.isEmpty() || !index.isValid() || !m_rows.isOpen() ||
            index.column() != source->columnOfField(QStringLiteral("Weight")) ||
            index.row() >= m_rows.recordCount())
            return WeightBand::Flag::Inside;
        const int field = m_rows.fieldIndex(QStringLiteral("Weight"));
        const QVariant v = field >= 0 ? m_rows.valueAt(index.row(), field) : QVariant();
        return v.isNull() ? WeightBand::Flag::Inside : m_band.flag(v.toDouble());
    }

    const DataSet& m_rows;
    WeightBand m_band;
};

} // namespace

namespace {

// The type menu opens this far above its button.
constexpr int kMenuRise = 85;

} // namespace

TChartValueList::TChartValueList(DataSet& measures, MeasureKind kind, const CurveAnimal& animal,
                                 CurveMode mode, const QString& dataFolder,
                                 const ChartReport& report, QWidget* parent)
    : QDialog(parent), m_rows(measures), m_kind(kind), m_animal(animal), m_mode(mode),
      m_dataFolder(dataFolder), m_report(report)
{
    Ui::TChartValueList form;
    form.setupUi(this);
    form.Title->setText(m_kind == MeasureKind::Size
                            ? QStringLiteral("  Gestion de la courbe de taille")
                            : QStringLiteral("  Gestion de la courbe de poids"));
    m_view = form.Chart_Value;
    m_view->setKind(m_kind);
    m_grid = form.Grid_Value;
    m_edit = form.Btn_Value_Edit;
    m_delete = form.Btn_Value_Delete;
    styleStripedGrid(m_grid);
    auto* flagged = new WeightFlagModel(
        m_rows, m_kind == MeasureKind::Weight ? m_animal.band : WeightBand(), m_grid);
    flagged->setSourceModel(new DataSetModel(&m_rows, flagged));
    m_grid->setModel(flagged);
    // Date and value at their width, the remark in the rest of the window.
    m_grid->horizontalHeader()->setStretchLastSection(true);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && m_rows.isOpen() && current.row() != m_rows.recNo())
                    m_rows.moveTo(current.row());
            });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this]() {
        if (m_edit->isEnabled())
            Btn_EditClick();
    });
    // The chart takes most of the height, the list what is left.
    form.Splitter_Value->setSizes({300, 170});

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("Popup_Chart_Type"));
    auto* group = new QActionGroup(m_menu);
    const auto item = [this, group](const QString& text, CurveMode tag) {
        QAction* action = m_menu->addAction(text);
        action->setCheckable(true);
        action->setData(storedCurveMode(tag));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, tag]() { chooseMode(tag); });
    };
    item(QStringLiteral("Mois"), CurveMode::ByMonths);
    item(QString::fromUtf8("Années"), CurveMode::ByYears);
    m_menu->addSeparator();
    item(QStringLiteral("Dates"), CurveMode::ByDate);
    connect(m_menu, &QMenu::aboutToShow, this, [this]() {
        const auto actions = m_menu->actions();
        for (QAction* a : actions) {
            if (a->isCheckable())
                a->setChecked(curveModeFromStored(a->data().toInt()) == m_mode);
        }
    });
    connect(form.Btn_Chart_Type, &QToolButton::clicked, this,
            [this, button = form.Btn_Chart_Type]() {
                m_menu->popup(button->mapToGlobal(QPoint(0, -kMenuRise)));
            });
    connect(form.Btn_Value_Add, &QToolButton::clicked, this, &TChartValueList::Btn_AddClick);
    connect(m_edit, &QToolButton::clicked, this, &TChartValueList::Btn_EditClick);
    connect(m_delete, &QToolButton::clicked, this, &TChartValueList::Btn_DeleteClick);
    connect(form.Btn_Chart_Save, &QToolButton::clicked, this, &TChartValueList::Btn_SaveClick);
    connect(form.Btn_Close, &QPushButton::clicked, this, &TChartValueList::accept);
    connect(form.Btn_Chart_Print, &QToolButton::clicked, this, &TChartValueList::Btn_PrintClick);
    form.Btn_Chart_Print->setEnabled(m_report.module != nullptr);

    prepareWindow(this, false);
    draw(-1);
}

qint64 TChartValueList::currentId() const
{
    return m_rows.isOpen() && !m_rows.isEmpty() ? m_rows.value(QStringLiteral("Id")).toLongLong()
                                                : -1;
}

void TChartValueList::draw(qint64 selectId)
{
    try {
        if (m_rows.isOpen())
            m_rows.refreshKeepRow();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    const MeasureCurve curve =
        buildMeasureCurve(measuresOf(m_rows, m_kind), m_mode, m_animal.birthDate,
                          m_animal.birthValue, measureHeadroom(m_kind));
    m_view->showCurve(curve, m_kind == MeasureKind::Weight ? m_animal.band : WeightBand());
    if (m_rows.isOpen() && !m_rows.isEmpty()) {
        if (selectId < 0 || !m_rows.locateId(selectId))
            m_rows.first();
        m_grid->setCurrentIndex(m_grid->model()->index(m_rows.recNo(), 0));
    }
    updateButtons();
}

void TChartValueList::updateButtons()
{
    const bool rows = m_rows.isOpen() && !m_rows.isEmpty();
    m_edit->setEnabled(rows);
    m_delete->setEnabled(rows);
}

void TChartValueList::enter()
{
    {
        TEnterWeight window(m_rows, m_kind, this);
        window.setBirthDate(parseDateText(m_animal.birthDate));
        window.exec();
    }
    if (m_rows.isEditing())
        m_rows.cancel();
    draw(currentId());
}

void TChartValueList::Btn_AddClick()
{
    try {
        m_rows.append();
        m_rows.setValue(kMeasureAnimalKey, m_animal.id);
        m_rows.setValue(measureColumns(m_kind).date, Clock::today());
    } catch (const DbError& e) {
        if (m_rows.isEditing())
            m_rows.cancel();
        showError(this, e.message());
        return;
    }
    enter();
}

void TChartValueList::Btn_EditClick()
{
    if (!m_edit->isEnabled() || currentId() < 0)
        return;
    try {
        m_rows.edit();
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    enter();
}

void TChartValueList::Btn_DeleteClick()
{
    if (currentId() < 0 ||
        !MessageBox::question(this, QString::fromUtf8("Désirez-vous supprimer cette valeur ?")))
        return;
    try {
        m_rows.remove();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    draw(-1);
}

void TChartValueList::Btn_SaveClick()
{
    m_view->saveAsJpeg(m_dataFolder, m_animal.title);
}

void TChartValueList::Btn_PrintClick()
{
    if (!m_report.module)
        return;
    printChart(this, *m_report.module, m_report.folder, m_view->picture(ReportRunner::statSize),
               measureChartTitle(m_kind), m_animal.title);
}

void TChartValueList::chooseMode(CurveMode mode)
{
    m_mode = mode;
    draw(currentId());
}

} // namespace tav
