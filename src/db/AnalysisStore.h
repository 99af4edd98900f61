#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

#include <optional>

namespace tav {

class DataModule1;
class DataSet;

// How the numbers of an analysis are typed and shown: at least one integer
// digit, no group separator, exactly `decimals` decimals (none for 0 or
// less), then a blank and the unit when there is one.
QString analysisEditFormat(int decimals);
QString analysisDisplayFormat(int decimals, const QString& unit);

// Checks a number typed for a field of an analysis before it is stored: a
// text that is not a number, or one with more decimals than the analysis
// shows, throws DbError naming the field by its caption. Values that are
// not texts (already numbers) and empty texts pass.
void checkAnalysisNumber(const QVariant& typed, int decimals, const QString& caption);

// Checks that a remark fits its column; throws DbError naming the field.
void checkRemarkLength(const QString& text, int columnSize, const QString& caption);

// One catalogue definition or one followed analysis, as the windows show it.
struct AnalysisRow
{
    qint64 id = -1;
    QString title;
};

struct AnalysisDefinition
{
    qint64 id = -1;
    QString title;
    QString unit;
    int decimals = 0;
    QVariant valueMin; // null when none
    QVariant valueMax;
};

// The analysis catalogue (LST_ANALYSIS), the analyses each animal follows
// (L_ANALYSIS) and their values (ANALYSIS). Reads bind every value; each
// removal is one transaction, so that it happens whole or not at all.
// Every method throws DbError.
class AnalysisStore
{
public:
    explicit AnalysisStore(DataModule1& module) : m_module(module) {}

    // The catalogue definitions that the animal does not follow yet, by
    // title.
    QVector<AnalysisRow> freeDefinitions(qint64 animalId) const;
    // The analyses the animal follows (L_ANALYSIS keys), by title.
    QVector<AnalysisRow> followed(qint64 animalId) const;
    // The followed analysis to show: `wanted` when that row exists, else the
    // animal's first one, else -1.
    qint64 resolveShown(qint64 wanted, qint64 animalId) const;
    // A followed analysis with the title of its definition, its unit,
    // decimals and normal range; nothing when the row is gone.
    std::optional<AnalysisDefinition> followedAnalysis(qint64 id) const;
    std::optional<AnalysisDefinition> definition(qint64 id) const;

    // Removes a followed analysis and its values.
    void removeFollowed(qint64 id);
    // Removes the current row of the catalogue's data set (Lst_Analysis)
    // with every followed copy of it and their values, from every animal.
    // On failure the database and the data sets are as before.
    void removeDefinition(DataSet& catalogue);

private:
    DataModule1& m_module;
};

} // namespace tav
