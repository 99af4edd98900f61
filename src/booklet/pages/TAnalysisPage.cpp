#include "booklet/pages/TAnalysisPage.h"

#include "booklet/AppContext.h"
#include "booklet/pages/AnalysisGridModel.h"
#include "charts/ChartHint.h"
#include "charts/ChartLook.h"
#include "core/Clock.h"
#include "db/AnalysisStore.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "dialogs/PickList.h"
#include "dialogs/ReportWindows.h"
#include "dialogs/TEnterAnalysisValue.h"
#include "dialogs/TEnterAnimalAnalysis.h"
#include "dialogs/TStrList.h"
#include "report/ReportRunner.h"
#include "ui/MessageBox.h"
#include "ui/SymbolIcon.h"
#include "ui_TAnalysisPage.h"

#include <QAction>
#include <QActionGroup>
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QHeaderView>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QToolTip>
#include <QValueAxis>

#include <memory>
#include <optional>

namespace tav {

namespace {

const QString kNoAnalysis = QStringLiteral("Pas d'analyses");
const QString kValueFields[] = {QStringLiteral("Value_Analysis"), QStringLiteral("Value_Min"),
                                QStringLiteral("Value_Max")};
// Height of the values grid under the splitter.
constexpr int kGridHeight = 219;
// The type menu opens this far left of its button.
constexpr int kMenuOffset = 100;
// More labels than this under the chart would write over each other: past
// it, only every so many positions carries its label.
constexpr int kMaxLabels = 12;

// The eight line series of the chart, in their roles, and the band of the
// normal range drawn between the minimum and maximum lines.
struct ChartParts
{
    QLineSeries* series[8] = {};
    QLineSeries* bandUpper = nullptr;
    QLineSeries* bandLower = nullptr;
    QAreaSeries* band = nullptr;
    QCategoryAxis* axisX = nullptr;
    QValueAxis* axisY = nullptr;
};

QLineSeries* lineSeries(QChart* chart, const QString& name, const QColor& colour, int width)
{
    auto* s = new QLineSeries(chart);
    s->setName(name);
    QPen pen(colour);
    pen.setWidth(width);
    s->setPen(pen);
    return s;
}

ChartParts setUpChart(QChart* chart)
{
    ChartParts p;
    applyChartLook(chart);
    // Figures as the user writes them ("12,5").
    chart->setLocalizeNumbers(true);
    p.series[0] = lineSeries(chart, QStringLiteral("Valeurs"), Qt::red, 3);
    p.series[1] = lineSeries(chart, QStringLiteral("Valeurs"), QColor(0, 255, 0), 1);
    p.series[2] = lineSeries(chart, QStringLiteral("min"), Qt::black, 1);
    p.series[3] = lineSeries(chart, QStringLiteral("min"), Qt::black, 1);
    p.series[4] = lineSeries(chart, QStringLiteral("max"), Qt::black, 1);
    p.series[5] = lineSeries(chart, QStringLiteral("max"), Qt::black, 1);
    p.series[6] = lineSeries(chart, QStringLiteral("Limit_min"), Qt::transparent, 1);
    p.series[7] = lineSeries(chart, QStringLiteral("Limit_max"), Qt::transparent, 1);
    p.bandUpper = new QLineSeries(chart);
    p.bandLower = new QLineSeries(chart);
    p.band = new QAreaSeries(p.bandUpper, p.bandLower);
    p.band->setName(QStringLiteral("Plage normale"));
    p.band->setPen(Qt::NoPen);
    p.band->setBrush(QColor(0, 160, 0, 45));
    p.axisX = new QCategoryAxis(chart);
    p.axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    p.axisY = new QValueAxis(chart);
    chart->addAxis(p.axisX, Qt::AlignBottom);
    chart->addAxis(p.axisY, Qt::AlignLeft);
    // The band comes after the eight, light enough for the lines to show
    // through it.
    for (QLineSeries* s : p.series)
        chart->addSeries(s);
    chart->addSeries(p.band);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(p.axisX);
        s->attachAxis(p.axisY);
    }
    return p;
}

void fillChart(const ChartParts& p, const AnalysisCurve& curve)
{
    // The minima and maxima are drawn by their thin copies only.
    p.series[2]->setVisible(false);
    p.series[4]->setVisible(false);
    p.series[6]->setVisible(false);
    p.series[7]->setVisible(false);
    for (const QString& label : p.axisX->categoriesLabels())
        p.axisX->remove(label);

    // Each series gets its points at once: one by one, every point would
    // lay the chart out again.
    QList<QPointF> points[8];
    QList<QPointF> bandLower;
    QList<QPointF> bandUpper;
    if (curve.isEmpty()) {
        points[6] = {{0, 0}, {1, 0}};
        points[7] = {{0, 1}};
        p.axisX->append(QStringLiteral("0"), 0);
        p.axisX->append(QStringLiteral("1"), 1);
        p.axisX->setRange(0, 1);
        p.axisY->setRange(0, 1);
    } else {
        points[6] = {{0, curve.low}};
        points[7] = {{0, curve.high}};
        const int step = int((curve.points.size() + kMaxLabels - 1) / kMaxLabels);
        for (int i = 0; i < curve.points.size(); ++i) {
            const AnalysisPoint& point = curve.points.at(i);
            if (i % step == 0)
                p.axisX->append(point.label, i);
            points[0].append({double(i), point.value});
            if (point.min)
                points[2].append({double(i), *point.min});
            if (point.max)
                points[4].append({double(i), *point.max});
            if (point.min && point.max) {
                bandLower.append({double(i), *point.min});
                bandUpper.append({double(i), *point.max});
            }
        }
        // A single value has no line to draw: it shows as a dot, with its
        // normal range as a band across its place.
        const bool single = curve.points.size() == 1;
        p.series[0]->setPointsVisible(single);
        p.series[0]->setMarkerSize(single ? 9 : 5);
        if (single) {
            for (QList<QPointF>* limit : {&points[2], &points[4], &bandLower, &bandUpper}) {
                if (!limit->isEmpty())
                    *limit = {{-0.5, limit->first().y()}, {0.5, limit->first().y()}};
            }
        }
        points[1] = points[0];
        points[3] = points[2];
        points[5] = points[4];
        // Half a step of margin on each side, so that a single value shows.
        p.axisX->setStartValue(-0.5);
        p.axisX->setRange(-0.5, curve.points.size() - 0.5);
        p.axisY->setRange(curve.low, curve.high);
    }
    for (int i = 0; i < 8; ++i)
        p.series[i]->replace(points[i]);
    p.bandLower->replace(bandLower);
    p.bandUpper->replace(bandUpper);
}

std::optional<double> number(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toDouble();
}

QDate dateOf(const QVariant& v)
{
    return v.typeId() == QMetaType::QDate ? v.toDate()
                                          : QDate::fromString(v.toString(), Qt::ISODate);
}

} // namespace

TAnalysisPage::TAnalysisPage(AppContext& context, int index, QWidget* parent)
    : GridPage(context, "Analysis", index, QStringLiteral("Analyses"), parent)
{
    Ui::TAnalysisPage form;
    form.setupUi(this);
    m_name = form.Ed_Analysis;
    m_name->setText(kNoAnalysis);

    m_chart = new QChart();
    m_view = new QChartView(m_chart, form.Pan_Chart_Host);
    m_view->setObjectName(QStringLiteral("Chart_Analysis"));
    m_view->setRenderHint(QPainter::Antialiasing);
    form.Pan_Chart_Host->layout()->addWidget(m_view);
    m_hint = new ChartHint(m_view);
    // Symbols drawn the same on every machine: a font without "⎙" shows an
    // empty box, and the chart's hint points at the type button's "▾".
    setSymbol(form.Btn_Analysis, QStringLiteral("menu"));
    setSymbol(form.Btn_Chart_Analysis_Type, QStringLiteral("menu"));
    setSymbol(form.Btn_Chart_Chart_Analysis_Print, QStringLiteral("print"));

    m_typeMenu = new QMenu(this);
    m_typeMenu->setObjectName(QStringLiteral("Popup_Chart_Analysis_Type"));
    for (const auto& [name, text, tag] :
         {std::tuple{"Popup_Chart_Analysis_Annees", "Années", AnalysisAxis::Years},
          std::tuple{"Popup_Chart_Analysis_Dates", "Dates", AnalysisAxis::Dates}}) {
        QAction* item = m_typeMenu->addAction(QString::fromUtf8(text));
        item->setObjectName(QString::fromLatin1(name));
        item->setData(int(tag));
        item->setCheckable(true);
    }
    connect(m_typeMenu, &QMenu::aboutToShow, this, [this]() {
        for (QAction* item : m_typeMenu->actions())
            item->setChecked(item->data().toInt() == *m_chartMode);
    });
    connect(m_typeMenu, &QMenu::triggered, this,
            &TAnalysisPage::Popup_Chart_Analysis_Type_DateClick);

    m_gridModel = context.module1 ? new AnalysisGridModel(display(), this) : nullptr;
    setUpGrid(form.Grid_Analysis, m_gridModel);
    form.Grid_Analysis->setMinimumHeight(60);

    connect(form.Btn_Analysis, &QToolButton::clicked, this, &TAnalysisPage::Btn_AnalysisClick);
    connect(m_name, &QLineEdit::textChanged, this, &TAnalysisPage::Ed_AnalysisChange);
    connect(form.Btn_Analysis_Add, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_Analysis_AddClick);
    connect(form.Btn_Analysis_Edit, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_Analysis_EditClick);
    connect(form.Btn_Analysis_Delete, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_Analysis_DeleteClick);
    connect(form.Btn_AnalysisValue_Add, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_AnalysisValue_AddClick);
    connect(form.Btn_AnalysisValue_Edit, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_AnalysisValue_EditClick);
    connect(form.Btn_AnalysisValue_Delete, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_AnalysisValue_DeleteClick);
    connect(form.Grid_Analysis, &QAbstractItemView::doubleClicked, this,
            &TAnalysisPage::Btn_AnalysisValue_EditClick);
    connect(form.Btn_Chart_Chart_Analysis_Save, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_Chart_Chart_Analysis_SaveClick);
    connect(form.Btn_Chart_Analysis_Type, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_Chart_Analysis_TypeClick);
    connect(form.Btn_Chart_Chart_Analysis_Print, &QToolButton::clicked, this,
            &TAnalysisPage::Btn_Chart_Chart_Analysis_PrintClick);
    connect(this, &BookletPage::controlsChanged, this, &TAnalysisPage::updateButtons);
    // Another animal shows its own first analysis.
    if (context.module1)
        connect(context.module1, &DataModule1::currentAnimalChanged, this,
                [this]() { *m_currentId = -1; });
    buildChart();
    updateButtons();
}

QChart* TAnalysisPage::chart()
{
    prepareChart();
    return m_chart;
}

void TAnalysisPage::prepareChart()
{
    // Set up when first needed: the pages are all made at start.
    if (m_chartPrepared)
        return;
    m_chartPrepared = true;
    const ChartParts parts = setUpChart(m_chart);
    // Hovering a value shows its date, its value and the unit.
    for (QLineSeries* s : {parts.series[0], parts.series[1]})
        connect(s, &QLineSeries::hovered, this, &TAnalysisPage::showHover);
}

void TAnalysisPage::showEvent(QShowEvent* event)
{
    prepareChart();
    GridPage::showEvent(event);
    if (!m_splitPlaced) {
        m_splitPlaced = true;
        auto* split = findChild<QSplitter*>(QStringLiteral("Split_Analysis"));
        const int total = split->height();
        split->setSizes({std::max(total - kGridHeight, 120), kGridHeight});
    }
}

QVector<DataSet::FilterTerm> TAnalysisPage::filter(qint64) const
{
    // The values belong to the followed analysis, not to the animal.
    return {{QStringLiteral("ID_REF"), *m_currentId}};
}

void TAnalysisPage::refresh()
{
    const qint64 animal = animalId();
    if (animal != m_shownAnimal) {
        m_shownAnimal = animal;
        // The axis chosen for this animal; none until the user picks one,
        // and the chart then says where to pick it.
        if (hasAnimal()) {
            const int stored = m_context.module1->animal().asInt(QStringLiteral("AnalysisMode"));
            *m_chartMode = stored == int(AnalysisAxis::Dates) || stored == int(AnalysisAxis::Years)
                               ? stored
                               : 0;
        }
    }
    loadAnalysis(*m_currentId);
}

void TAnalysisPage::loadAnalysis(qint64 analysisId, qint64 selectValueId)
{
    if (!m_context.module1)
        return;
    m_analysisPicking = false;
    qint64 shown = -1;
    std::optional<AnalysisDefinition> analysis;
    try {
        AnalysisStore store(*m_context.module1);
        if (hasAnimal())
            shown = store.resolveShown(analysisId, animalId());
        if (shown >= 0)
            analysis = store.followedAnalysis(shown);
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    *m_currentId = int(shown);
    display().close();
    m_decimals = analysis ? analysis->decimals : 2;
    m_unit = analysis ? analysis->unit : QString();
    m_name->setText(shown < 0 ? kNoAnalysis : analysis ? analysis->title : QString());
    const QString format = analysisDisplayFormat(m_decimals, m_unit);
    for (const QString& field : kValueFields)
        display().setDisplayFormat(field, format);
    load(selectValueId);
}

void TAnalysisPage::afterLoad()
{
    // The remark's design width (its column's 255 characters) would put its
    // title out of sight: it takes what is left of the grid instead.
    const int last = grid()->model()->columnCount() - 1;
    if (last >= 0) {
        grid()->setColumnWidth(
            last, grid()->fontMetrics().horizontalAdvance(QStringLiteral("Observations    ")));
        grid()->horizontalHeader()->setStretchLastSection(true);
    }
    buildChart();
    updateButtons();
}

void TAnalysisPage::buildChart()
{
    QVector<AnalysisSample> samples;
    const DataSet* values = m_context.module1 ? &display() : nullptr;
    if (values && values->isOpen()) {
        const int date = values->fieldIndex(QStringLiteral("Date_Analysis"));
        const int value = values->fieldIndex(QStringLiteral("Value_Analysis"));
        const int min = values->fieldIndex(QStringLiteral("Value_Min"));
        const int max = values->fieldIndex(QStringLiteral("Value_Max"));
        for (int r = 0; r < values->recordCount(); ++r) {
            // A value not given has nothing to draw.
            const std::optional<double> v = number(values->valueAt(r, value));
            if (!v)
                continue;
            samples.append({dateOf(values->valueAt(r, date)), *v, number(values->valueAt(r, min)),
                            number(values->valueAt(r, max))});
        }
    }
    // Without a chosen axis nothing is drawn: the values are there, the
    // hint says how to see them.
    const bool knownAxis =
        *m_chartMode == int(AnalysisAxis::Dates) || *m_chartMode == int(AnalysisAxis::Years);
    m_hint->setHint(knownAxis || samples.isEmpty()
                        ? QString()
                        : QString::fromUtf8("Choisissez le type de courbe dans le menu ▾"));
    m_curve = buildAnalysisCurve(knownAxis ? samples : QVector<AnalysisSample>(), *m_chartMode);
    m_chartTitle = QStringLiteral("Evolution des analyses : ") + m_name->text();
    prepareChart();
    ChartParts parts;
    const QList<QAbstractSeries*> series = m_chart->series();
    for (int i = 0; i < 8; ++i)
        parts.series[i] = static_cast<QLineSeries*>(series.at(i));
    parts.band = static_cast<QAreaSeries*>(series.at(8));
    parts.bandUpper = parts.band->upperSeries();
    parts.bandLower = parts.band->lowerSeries();
    parts.axisX = static_cast<QCategoryAxis*>(m_chart->axes(Qt::Horizontal).first());
    parts.axisY = static_cast<QValueAxis*>(m_chart->axes(Qt::Vertical).first());
    fillChart(parts, m_curve);
}

void TAnalysisPage::updateButtons()
{
    const bool animal = hasAnimal();
    const bool analysis = animal && *m_currentId >= 0;
    const bool value = analysis && display().isOpen() && !display().isEmpty();
    const std::pair<const char*, bool> rules[] = {{"Btn_Analysis", animal},
                                                  {"Btn_Analysis_Add", animal},
                                                  {"Btn_Analysis_Edit", analysis},
                                                  {"Btn_Analysis_Delete", analysis},
                                                  {"Btn_AnalysisValue_Add", analysis},
                                                  {"Btn_AnalysisValue_Edit", value},
                                                  {"Btn_AnalysisValue_Delete", value},
                                                  {"Btn_Chart_Chart_Analysis_Print", animal},
                                                  {"Btn_Chart_Chart_Analysis_Save", animal},
                                                  {"Btn_Chart_Analysis_Type", animal}};
    for (const auto& [name, enabled] : rules)
        if (auto* b = findChild<QToolButton*>(QString::fromLatin1(name)))
            b->setEnabled(enabled);
}

QString TAnalysisPage::pointText(int position) const
{
    if (position < 0 || position >= m_curve.points.size())
        return QString();
    const AnalysisPoint& p = m_curve.points.at(position);
    return p.date.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" — ") +
           formatNumber(p.value, analysisDisplayFormat(m_decimals, m_unit));
}

void TAnalysisPage::showHover(const QPointF& point, bool state)
{
    if (!state) {
        QToolTip::hideText();
        return;
    }
    m_hoverText = pointText(qRound(point.x()));
    if (!m_hoverText.isEmpty())
        QToolTip::showText(QCursor::pos(), m_hoverText, m_view);
}

void TAnalysisPage::Btn_AnalysisClick()
{
    if (!hasAnimal())
        return;
    QVector<AnalysisRow> rows;
    try {
        rows = AnalysisStore(*m_context.module1).followed(animalId());
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    QStringList lines;
    m_analysisIds.clear();
    for (const AnalysisRow& r : std::as_const(rows)) {
        lines << r.title;
        m_analysisIds << QString::number(r.id);
    }
    TStrList* list = showPickList(m_name, false, lines);
    if (!list)
        return;
    m_analysisPicking = true;
    connect(list, &TStrList::dismissed, this, [this]() { m_analysisPicking = false; });
}

void TAnalysisPage::Ed_AnalysisChange()
{
    if (!m_analysisPicking)
        return;
    m_analysisPicking = false;
    const int index = m_name->property("chosenIndex").toInt();
    if (index >= 0 && index < m_analysisIds.size())
        loadAnalysis(m_analysisIds.at(index).toLongLong());
}

void TAnalysisPage::Btn_Analysis_AddClick()
{
    if (!hasAnimal())
        return;
    try {
        if (AnalysisStore(*m_context.module1).freeDefinitions(animalId()).isEmpty()) {
            MessageBox::information(
                this,
                QString::fromUtf8("Vous avez déjà sélectionné toutes les analyses disponibles."));
            return;
        }
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    qint64 stored = -1;
    withTableRow(QStringLiteral("L_Analysis"), -1, [this, &stored](DataSet& followed) {
        followed.append();
        followed.setValue(QStringLiteral("Id_File"), -1);
        followed.setValue(QStringLiteral("Id_Ref"), animalId());
        followed.setValue(QStringLiteral("Id_Analysis"), -1);
        TEnterAnimalAnalysis window(*m_context.module1, animalId(), this);
        if (window.exec() == QDialog::Accepted)
            stored = window.storedId();
    });
    loadAnalysis(stored >= 0 ? stored : *m_currentId);
    emit controlsChanged();
}

void TAnalysisPage::Btn_Analysis_EditClick()
{
    const qint64 id = *m_currentId;
    if (id < 0 || !hasAnimal())
        return;
    bool found = false;
    withTableRow(QStringLiteral("L_Analysis"), id, [this, &found](DataSet& followed) {
        found = true;
        followed.edit();
        TEnterAnimalAnalysis window(*m_context.module1, animalId(), this);
        window.exec();
    });
    if (!found)
        MessageBox::plain(this, QStringLiteral("Analyse introuvable ?"));
    loadAnalysis(id);
    emit controlsChanged();
}

void TAnalysisPage::Btn_Analysis_DeleteClick()
{
    const qint64 id = *m_currentId;
    if (id < 0 || !MessageBox::question(this, QStringLiteral("Souhaitez-vous retirer cette "
                                                             "analyses ?")))
        return;
    display().close();
    try {
        AnalysisStore(*m_context.module1).removeFollowed(id);
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    loadAnalysis(-1);
    emit controlsChanged();
}

void TAnalysisPage::showValueWindow()
{
    DataSet& values = display();
    qint64 id = -1;
    try {
        TEnterAnalysisValue window(values, m_decimals, m_unit, this);
        if (window.exec() == QDialog::Accepted)
            id = values.value(QStringLiteral("Id")).toLongLong();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    // A row left pending is dropped, never written.
    if (values.isEditing())
        values.cancel();
    loadAnalysis(*m_currentId, id >= 0 ? id : currentId());
    emit controlsChanged();
}

void TAnalysisPage::Btn_AnalysisValue_AddClick()
{
    const qint64 analysis = *m_currentId;
    if (analysis < 0 || !display().isOpen())
        return;
    DataSet& values = display();
    try {
        // The normal range of the day is the analysis's as it is now.
        const auto range = AnalysisStore(*m_context.module1).followedAnalysis(analysis);
        values.append();
        values.setValue(QStringLiteral("Id_Ref"), analysis);
        values.setValue(QStringLiteral("Date_Analysis"), Clock::today());
        values.setValue(QStringLiteral("Value_Analysis"), 0.0);
        if (range) {
            values.setValue(QStringLiteral("Value_Min"), range->valueMin);
            values.setValue(QStringLiteral("Value_Max"), range->valueMax);
        }
    } catch (const DbError& e) {
        if (values.isEditing())
            values.cancel();
        showError(this, e.message());
        return;
    }
    showValueWindow();
}

void TAnalysisPage::Btn_AnalysisValue_EditClick()
{
    const auto* edit = findChild<QToolButton*>(QStringLiteral("Btn_AnalysisValue_Edit"));
    if (!edit->isEnabled() || currentId() < 0)
        return;
    try {
        display().edit();
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    showValueWindow();
}

void TAnalysisPage::Btn_AnalysisValue_DeleteClick()
{
    const qint64 id = currentId();
    if (id < 0 || !MessageBox::question(
                      this, QStringLiteral("Confirmez-vous la suppression de cette valeur ?")))
        return;
    try {
        display().remove();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    loadAnalysis(*m_currentId);
    emit controlsChanged();
}

QString TAnalysisPage::animalTitle() const
{
    if (!hasAnimal())
        return QString();
    const DataSet& animal = m_context.module1->animal();
    const QString fore = animal.asString(QStringLiteral("ForeName"));
    return animal.asString(QStringLiteral("Name")) +
           (fore.isEmpty() ? QString() : QLatin1Char(' ') + fore);
}

void TAnalysisPage::Btn_Chart_Chart_Analysis_SaveClick()
{
    // The chart goes out through a holder of its own that shows the title.
    QChart holder;
    const ChartParts parts = setUpChart(&holder);
    fillChart(parts, m_curve);
    holder.setTitle(m_chartTitle);
    QString name = m_chartTitle.section(QLatin1Char('\n'), 0, 0);
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    name += QStringLiteral("_(") + animalTitle() + QStringLiteral(")_") +
            Clock::today().toString(QStringLiteral("dd_MM_yyyy")) + QStringLiteral(".jpg");
    static const QString kForbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (kForbidden.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    saveChartAsJpeg(this, &holder, m_context.dataFolder + name);
}

void TAnalysisPage::Btn_Chart_Chart_Analysis_PrintClick()
{
    if (!hasAnimal() || !m_context.moduleReport)
        return;
    QChart holder;
    holder.resize(ReportRunner::statSize);
    const ChartParts parts = setUpChart(&holder);
    applyPrintedTextSize(&holder, ReportRunner::statSize.width());
    fillChart(parts, m_curve);
    printChart(this, *m_context.moduleReport, m_context.reportFolder,
               renderChart(&holder, ReportRunner::statSize), m_chartTitle, animalTitle());
}

void TAnalysisPage::Btn_Chart_Analysis_TypeClick()
{
    auto* button = findChild<QToolButton*>(QStringLiteral("Btn_Chart_Analysis_Type"));
    m_typeMenu->popup(button->mapToGlobal(QPoint(-kMenuOffset, 0)));
}

void TAnalysisPage::Popup_Chart_Analysis_Type_DateClick(QAction* item)
{
    const int mode = item->data().toInt();
    *m_chartMode = mode;
    if (hasAnimal()) {
        DataSet& animal = m_context.module1->animal();
        // Stored at once, as the weight and size menus do, together with
        // whatever the card holds being typed.
        try {
            if (!animal.isEditing())
                animal.edit();
            animal.setValue(QStringLiteral("AnalysisMode"), mode);
            animal.post();
        } catch (const DbError& e) {
            // The mode still applies to the chart shown; the card keeps what
            // was typed in it, to be mended and recorded.
            showError(this, e.message());
        }
    }
    buildChart();
}

QString TAnalysisPage::exportFileName() const
{
    return fileNameFor(QStringLiteral("Analyses"), animalName());
}

} // namespace tav
