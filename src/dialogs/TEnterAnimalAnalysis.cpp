#include "dialogs/TEnterAnimalAnalysis.h"

#include "db/AnalysisStore.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/PickList.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"
#include "ui_TEnterAnimalAnalysis.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

using namespace tav;

TEnterAnimalAnalysis::TEnterAnimalAnalysis(DataModule1& module, qint64 animalId, QWidget* parent)
    : AnalysisEntry(module.dataSet(QStringLiteral("L_Analysis")), parent), m_module(module),
      m_animalId(animalId)
{
    setObjectName(QStringLiteral("TEnterAnimalAnalysis"));
    Ui::TEnterAnimalAnalysis form;
    form.setupUi(this);
    // The title of the definition followed, when there is one already.
    const qint64 definitionId = row().value(QStringLiteral("Id_Analysis")).toLongLong();
    if (row().isNull(QStringLiteral("Id_Analysis")) || definitionId < 0) {
        form.Ed_Title->setProperty("chosenIndex", -1);
    } else {
        try {
            if (const auto d = AnalysisStore(m_module).definition(definitionId))
                form.Ed_Title->setText(d->title);
        } catch (const DbError& e) {
            showError(this, e.message());
        }
    }
    setUpFields(
        {},
        {{"Ed_Min", "Value_Min", "Valeur minimale"}, {"Ed_Max", "Value_Max", "Valeur maximale"}},
        {"DBMemo1", "Remark1", 255}, "Ed_Title");
    setUpUnitAndDecimals(m_module.dataSet(QStringLiteral("ComboItems")));
    form.Ed_Title->installEventFilter(this);
    connect(form.Btn_Title, &QToolButton::clicked, this, &TEnterAnimalAnalysis::Btn_TitleClick);
    connect(form.Ed_Title, &QLineEdit::textChanged, this, &TEnterAnimalAnalysis::Ed_TitleChange);
}

void TEnterAnimalAnalysis::Btn_TitleClick()
{
    QVector<AnalysisRow> free;
    try {
        free = AnalysisStore(m_module).freeDefinitions(m_animalId);
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    QStringList lines;
    m_freeAnalysisIds.clear();
    for (const AnalysisRow& r : std::as_const(free)) {
        lines << r.title;
        m_freeAnalysisIds << QString::number(r.id);
    }
    TStrList* list = showPickList(line("Ed_Title"), false, lines);
    if (!list)
        return;
    m_titlePicked = true;
    // A list closed without a choice leaves the next change of the title
    // to whoever makes it.
    connect(list, &TStrList::dismissed, this, [this]() { m_titlePicked = false; });
}

void TEnterAnimalAnalysis::Ed_TitleChange()
{
    if (m_titlePicked) {
        m_titlePicked = false;
        const int index = line("Ed_Title")->property("chosenIndex").toInt();
        if (index >= 0 && index < m_freeAnalysisIds.size()) {
            const qint64 id = m_freeAnalysisIds.at(index).toLongLong();
            try {
                DataSet& r = row();
                r.setValue(QStringLiteral("Id_Analysis"), id);
                if (const auto d = AnalysisStore(m_module).definition(id)) {
                    r.setValue(QStringLiteral("Unit"), d->unit);
                    r.setValue(QStringLiteral("Decimal"), d->decimals);
                    r.setValue(QStringLiteral("Value_Min"), d->valueMin);
                    r.setValue(QStringLiteral("Value_Max"), d->valueMax);
                }
            } catch (const DbError& e) {
                showError(this, e.message());
            }
            applyRowFormat();
        }
    }
    applyOkRule();
}

void TEnterAnimalAnalysis::storeRow()
{
    if (row().isEditing())
        row().post();
    m_storedId = row().value(QStringLiteral("Id")).toLongLong();
}

bool TEnterAnimalAnalysis::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == line("Ed_Title") && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Btn_TitleClick();
            return true;
        }
    }
    return AnalysisEntry::eventFilter(watched, event);
}
