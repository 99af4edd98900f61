#include "booklet/pages/TCurvePage.h"

#include "booklet/AppContext.h"
#include "charts/MeasureChartView.h"
#include "core/TextRoutines.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/MeasureStore.h"
#include "db/TargetWeightStore.h"
#include "dialogs/ReportWindows.h"
#include "dialogs/TChartValueList.h"
#include "dialogs/TEnterTargetWeight.h"
#include "report/ReportRunner.h"
#include "ui/MessageBox.h"
#include "ui/SymbolIcon.h"
#include "ui_TCurvePage.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace tav {

namespace {

// The type menu opens this far left of its button.
constexpr int kMenuShift = 100;

QString kindName(MeasureKind kind)
{
    return measureColumns(kind).table;
}

// The caption label reads from top to bottom, one letter a line.
QString verticalText(const QString& caption)
{
    QStringList letters;
    for (const QChar c : caption) {
        if (!c.isSpace())
            letters << QString(c);
    }
    return letters.join(QLatin1Char('\n'));
}

} // namespace

TCurvePage::TCurvePage(AppContext& context, int index, QWidget* parent)
    : BookletPage(index, QStringLiteral("Poids & taille"), parent), m_context(context)
{
    Ui::TCurvePage form;
    form.setupUi(this);
    panel(Weight).view = form.Chart_Weight;
    panel(Size).view = form.Chart_Size;
    for (MeasureKind kind : {Weight, Size}) {
        const QString name = kindName(kind);
        panel(kind).view->setKind(kind);
        findChild<QLabel*>(QStringLiteral("Lab_") + name)
            ->setText(verticalText(measureCaption(kind)));
        const auto button = [this, name](const char* what) {
            return findChild<QToolButton*>(QStringLiteral("Btn_Chart_") + name + QLatin1Char('_') +
                                           QLatin1String(what));
        };
        connect(button("Edit"), &QToolButton::clicked, this,
                [this, kind]() { openValueList(kind); });
        connect(panel(kind).view, &MeasureChartView::doubleClicked, this,
                [this, kind]() { openValueList(kind); });
        connect(button("Save"), &QToolButton::clicked, this, [this, kind]() { saveChart(kind); });
        buildTypeMenu(kind, name);
        QToolButton* type = button("Type");
        // The chart's hint points at this button's "▾": the same on every
        // machine, whatever its fonts.
        setSymbol(type, QStringLiteral("menu"));
        connect(type, &QToolButton::clicked, this, [this, kind, type]() {
            panel(kind).menu->popup(type->mapToGlobal(QPoint(-kMenuShift, 0)));
        });
        connect(button("Print"), &QToolButton::clicked, this, [this, kind]() { printCurve(kind); });
        for (const char* what : {"Edit", "Print", "Save", "Type"})
            m_commandButtons.append(button(what));
    }
}

void TCurvePage::updateActions(bool animalPresent)
{
    for (QToolButton* b : std::as_const(m_commandButtons))
        b->setEnabled(animalPresent);
}

void TCurvePage::finishPage()
{
    if (!m_context.module1)
        return;
    for (MeasureKind kind : {Weight, Size}) {
        if (DataSet* d = measures(kind))
            d->close();
    }
}

void TCurvePage::buildTypeMenu(MeasureKind kind, const QString& name)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("Popup_Chart_") + name + QStringLiteral("_Type"));
    auto* group = new QActionGroup(menu);
    const std::pair<const char*, CurveMode> items[] = {{"Dates", CurveMode::ByDate},
                                                       {"Années", CurveMode::ByYears},
                                                       {"Mois", CurveMode::ByMonths}};
    for (const auto& [text, tag] : items) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setCheckable(true);
        action->setData(storedCurveMode(tag));
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, kind, tag = tag]() { chooseMode(kind, tag); });
    }
    if (kind == Weight) {
        menu->addSeparator();
        QAction* target = menu->addAction(QString::fromUtf8("Poids cible…"));
        target->setObjectName(QStringLiteral("Item_TargetWeight"));
        connect(target, &QAction::triggered, this, &TCurvePage::editTargetWeight);
    }
    connect(menu, &QMenu::aboutToShow, this, [this, kind, menu]() {
        const auto actions = menu->actions();
        for (QAction* a : actions) {
            if (a->isCheckable())
                a->setChecked(curveModeFromStored(a->data().toInt()) == panel(kind).mode);
        }
    });
    panel(kind).menu = menu;
}

bool TCurvePage::hasAnimal() const
{
    return m_context.module1 && m_context.module1->animal().isOpen() &&
           !m_context.module1->animal().isEmpty();
}

DataSet* TCurvePage::measures(MeasureKind kind) const
{
    return m_context.module1 ? &m_context.module1->dataSet(kindName(kind)) : nullptr;
}

CurveAnimal TCurvePage::curveAnimal(MeasureKind kind) const
{
    CurveAnimal a;
    if (!hasAnimal())
        return a;
    const DataSet& animal = m_context.module1->animal();
    a.id = animal.value(QStringLiteral("Id")).toLongLong();
    a.birthDate = animal.asString(QStringLiteral("BirthDay_Date"));
    a.birthValue = measureNumberText(animal.value(measureColumns(kind).birthValue));
    a.title = nameAndForename(animal.asString(QStringLiteral("Name")),
                              animal.asString(QStringLiteral("ForeName")));
    if (kind == Weight && m_context.connection) {
        try {
            a.band = readTargetWeight(*m_context.connection, a.id);
        } catch (const DbError& e) {
            showError(const_cast<TCurvePage*>(this), e.message());
        }
    }
    return a;
}

void TCurvePage::refresh()
{
    loadCurve(Weight, -1);
    loadCurve(Size, -1);
}

void TCurvePage::loadCurve(MeasureKind kind, qint64 selectId)
{
    DataSet* rows = measures(kind);
    if (!rows)
        return;
    const qint64 animal = hasAnimal() ? curveAnimal(kind).id : -1;
    rows->disableControls();
    try {
        rows->close();
        rows->filterBy(kMeasureAnimalKey, animal);
        rows->open();
    } catch (const DbError& e) {
        showError(this, e.message());
    }
    CurveMode mode = CurveMode::None;
    if (animal >= 0)
        mode = curveModeFromStored(
            m_context.module1->animal().value(measureColumns(kind).mode).toLongLong());
    drawCurve(kind, selectId, mode);
    rows->enableControls();
}

void TCurvePage::drawCurve(MeasureKind kind, qint64 selectId, CurveMode mode)
{
    Panel& p = panel(kind);
    p.mode = mode;
    DataSet* rows = measures(kind);
    if (!rows)
        return;
    const CurveAnimal animal = curveAnimal(kind);
    const QVector<Measure> measures = measuresOf(*rows, kind);
    p.view->showCurve(buildMeasureCurve(measures, mode, animal.birthDate, animal.birthValue,
                                        measureHeadroom(kind)),
                      kind == Weight ? animal.band : WeightBand());
    // Until a type is chosen the chart stays empty: it says what to do.
    p.view->setHint(mode != CurveMode::None || !hasAnimal()
                        ? QString()
                        : QString::fromUtf8("Choisissez le type de courbe dans le menu ▾"));
    if (rows->isOpen() && !rows->isEmpty() && (selectId < 0 || !rows->locateId(selectId)))
        rows->first();
}

void TCurvePage::openValueList(MeasureKind kind)
{
    DataSet* rows = measures(kind);
    if (!hasAnimal() || !rows)
        return;
    {
        TChartValueList window(*rows, kind, curveAnimal(kind), panel(kind).mode,
                               m_context.dataFolder,
                               {m_context.moduleReport, m_context.reportFolder}, this);
        window.exec();
    }
    loadCurve(kind, -1);
    emit controlsChanged();
}

void TCurvePage::saveChart(MeasureKind kind)
{
    if (!hasAnimal())
        return;
    panel(kind).view->saveAsJpeg(m_context.dataFolder, curveAnimal(kind).title);
}

void TCurvePage::printCurve(MeasureKind kind)
{
    if (!hasAnimal() || !m_context.moduleReport)
        return;
    const QImage picture = panel(kind).view->picture(ReportRunner::statSize);
    printChart(this, *m_context.moduleReport, m_context.reportFolder, picture,
               measureChartTitle(kind), curveAnimal(kind).title);
}

void TCurvePage::chooseMode(MeasureKind kind, CurveMode mode)
{
    if (!hasAnimal())
        return;
    DataSet* rows = measures(kind);
    const qint64 current = rows && rows->isOpen() && !rows->isEmpty()
                               ? rows->value(QStringLiteral("Id")).toLongLong()
                               : -1;
    DataSet& animal = m_context.module1->animal();
    try {
        if (!animal.isEditing())
            animal.edit();
        animal.setValue(measureColumns(kind).mode, storedCurveMode(mode));
        animal.post();
    } catch (const DbError& e) {
        // The mode still applies to what is shown; the animal keeps what
        // was typed in it, to be mended and recorded.
        showError(this, e.message());
    }
    drawCurve(kind, current, mode);
    emit controlsChanged();
}

void TCurvePage::editTargetWeight()
{
    if (!hasAnimal() || !m_context.connection)
        return;
    if (!tav::editTargetWeight(this, *m_context.connection, curveAnimal(Weight).id))
        return;
    loadCurve(Weight, -1);
    emit factsChanged();
}

} // namespace tav
