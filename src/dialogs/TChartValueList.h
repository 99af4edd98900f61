#pragma once

#include "charts/MeasureChart.h"

#include <QDialog>

class QMenu;
class QTableView;
class QToolButton;

namespace tav {

class DataModuleReport;
class DataSet;
class MeasureChartView;

// Where the curve window prints its chart: the chart report of the
// program's report folder.
struct ChartReport
{
    DataModuleReport* module = nullptr;
    QString folder;
};

// The curve window: the chart of one kind of measure (weight or size)
// above the list of its measures, where they are added, changed and
// deleted. Its mode starts as the page's and changes here only: it is
// never stored with the animal.
class TChartValueList : public QDialog
{
    Q_OBJECT
public:
    TChartValueList(DataSet& measures, MeasureKind kind, const CurveAnimal& animal, CurveMode mode,
                    const QString& dataFolder, const ChartReport& report,
                    QWidget* parent = nullptr);

    CurveMode mode() const { return m_mode; }
    MeasureChartView* chartView() const { return m_view; }
    QMenu* typeMenu() const { return m_menu; }

    void Btn_AddClick();
    void Btn_EditClick();
    void Btn_DeleteClick();
    void Btn_SaveClick();
    // Prints the window's chart, in its own mode, as the page prints its own.
    void Btn_PrintClick();
    void chooseMode(CurveMode mode);

private:
    // Reads the measures again keeping the current one, draws the curve and
    // makes the measure of that key current (-1: the first).
    void draw(qint64 selectId);
    void enter();
    void updateButtons();
    qint64 currentId() const;

    DataSet& m_rows;
    MeasureKind m_kind;
    CurveAnimal m_animal;
    CurveMode m_mode;
    QString m_dataFolder;
    ChartReport m_report;
    MeasureChartView* m_view = nullptr;
    QTableView* m_grid = nullptr;
    QMenu* m_menu = nullptr;
    QToolButton* m_edit = nullptr;
    QToolButton* m_delete = nullptr;
};

} // namespace tav
