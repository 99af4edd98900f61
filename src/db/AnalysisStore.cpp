#include "db/AnalysisStore.h"

#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace tav {

namespace {

const QString kFollowedWhere = QStringLiteral("WHERE L_ANALYSIS.Id_Analysis>-1");

template <typename Row>
void readRows(Connection& connection, const QString& text, const QVariantList& values, Row row)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.prepare(text))
        throw DbError(databaseErrorText(q.lastError(), connection.filePath()));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(databaseErrorText(q.lastError(), connection.filePath()));
    while (q.next())
        row(q);
}

QVector<AnalysisRow> readTitles(Connection& connection, const QString& text, qint64 key)
{
    QVector<AnalysisRow> rows;
    readRows(connection, text, {key}, [&rows](const QSqlQuery& q) {
        rows.append({q.value(0).toLongLong(), q.value(1).toString()});
    });
    return rows;
}

std::optional<AnalysisDefinition> readDefinition(Connection& connection, const QString& text,
                                                 qint64 id)
{
    std::optional<AnalysisDefinition> found;
    readRows(connection, text, {id}, [&found](const QSqlQuery& q) {
        if (found)
            return;
        AnalysisDefinition d;
        d.id = q.value(0).toLongLong();
        d.title = q.value(1).toString();
        d.unit = q.value(2).toString();
        d.decimals = q.value(3).toInt();
        d.valueMin = q.value(4).isNull() ? QVariant() : QVariant(q.value(4).toDouble());
        d.valueMax = q.value(5).isNull() ? QVariant() : QVariant(q.value(5).toDouble());
        found = d;
    });
    return found;
}

// The decimals typed after the separator of a number text, or -1 when the
// text is not a number.
int typedDecimals(QString text)
{
    text = text.trimmed();
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0x00A0));
    text.remove(QChar(0x202F));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    text.toDouble(&ok);
    // Only plain decimal writing: "1e3" or "inf" are not values one types.
    for (const QChar c : std::as_const(text))
        if (!c.isDigit() && c != QLatin1Char('.') && c != QLatin1Char('-') && c != QLatin1Char('+'))
            ok = false;
    if (!ok)
        return -1;
    const int point = text.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : int(text.size()) - point - 1;
}

} // namespace

QString analysisEditFormat(int decimals)
{
    // A stored count past what a double can show is a damaged row.
    decimals = std::clamp(decimals, 0, 15);
    QString format = QStringLiteral("#######0");
    if (decimals > 0)
        format += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    return format;
}

QString analysisDisplayFormat(int decimals, const QString& unit)
{
    const QString edit = analysisEditFormat(decimals);
    return unit.trimmed().isEmpty() ? edit : edit + QLatin1Char(' ') + unit;
}

void checkAnalysisNumber(const QVariant& typed, int decimals, const QString& caption)
{
    if (typed.typeId() != QMetaType::QString || typed.toString().trimmed().isEmpty())
        return;
    const int found = typedDecimals(typed.toString());
    if (found < 0)
        throw DbError(QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte "
                                     "pour le champ '%2'")
                          .arg(typed.toString(), caption));
    const int allowed = std::max(decimals, 0);
    if (found > allowed)
        throw DbError(allowed == 0
                          ? QStringLiteral("« %1 » s'écrit sans décimale : %2 en a %3.")
                                .arg(caption, typed.toString())
                                .arg(found)
                          : QStringLiteral("« %1 » s'écrit avec %2 décimale(s) au plus : %3 en a "
                                           "%4.")
                                .arg(caption)
                                .arg(allowed)
                                .arg(typed.toString())
                                .arg(found));
}

void checkRemarkLength(const QString& text, int columnSize, const QString& caption)
{
    if (columnSize > 0 && text.size() > columnSize)
        throw DbError(QStringLiteral("Le texte saisi pour « %1 » dépasse %2 caractères (il en "
                                     "compte %3).")
                          .arg(caption)
                          .arg(columnSize)
                          .arg(text.size()));
}

QVector<AnalysisRow> AnalysisStore::freeDefinitions(qint64 animalId) const
{
    return readTitles(m_module.connection(),
                      QStringLiteral("SELECT Id, Title FROM LST_ANALYSIS WHERE Id NOT IN "
                                     "(SELECT Id_Analysis FROM L_ANALYSIS WHERE Id_Ref=? AND "
                                     "Id_Analysis IS NOT NULL) ORDER BY Title"),
                      animalId);
}

QVector<AnalysisRow> AnalysisStore::followed(qint64 animalId) const
{
    return readTitles(m_module.connection(),
                      QStringLiteral("SELECT L_ANALYSIS.Id, LST_ANALYSIS.Title FROM L_ANALYSIS "
                                     "LEFT JOIN LST_ANALYSIS ON L_ANALYSIS.Id_Analysis = "
                                     "LST_ANALYSIS.Id WHERE L_ANALYSIS.Id_Ref=? "
                                     "ORDER BY LST_ANALYSIS.Title, L_ANALYSIS.Id"),
                      animalId);
}

qint64 AnalysisStore::resolveShown(qint64 wanted, qint64 animalId) const
{
    Connection& c = m_module.connection();
    if (wanted >= 0) {
        // Only an analysis of this animal: a key left over from another
        // animal must not show that animal's values.
        const QVariant id =
            c.scalar(QStringLiteral("SELECT Id FROM L_ANALYSIS WHERE Id=? AND Id_Ref=?"),
                     {wanted, animalId});
        if (id.isValid() && !id.isNull())
            return id.toLongLong();
    }
    const QVector<AnalysisRow> rows = followed(animalId);
    return rows.isEmpty() ? -1 : rows.first().id;
}

std::optional<AnalysisDefinition> AnalysisStore::followedAnalysis(qint64 id) const
{
    return readDefinition(m_module.connection(),
                          QStringLiteral("SELECT L_ANALYSIS.Id, LST_ANALYSIS.Title, "
                                         "L_ANALYSIS.Unit, L_ANALYSIS.Decimal, "
                                         "L_ANALYSIS.Value_Min, L_ANALYSIS.Value_Max "
                                         "FROM L_ANALYSIS LEFT JOIN LST_ANALYSIS ON "
                                         "L_ANALYSIS.Id_Analysis = LST_ANALYSIS.Id "
                                         "WHERE L_ANALYSIS.Id=?"),
                          id);
}

std::optional<AnalysisDefinition> AnalysisStore::definition(qint64 id) const
{
    return readDefinition(m_module.connection(),
                          QStringLiteral("SELECT Id, Title, Unit, Decimal, Value_Min, Value_Max "
                                         "FROM LST_ANALYSIS WHERE Id=?"),
                          id);
}

void AnalysisStore::removeFollowed(qint64 id)
{
    Connection& c = m_module.connection();
    Transaction tx(c);
    c.exec(QStringLiteral("DELETE FROM ANALYSIS WHERE ANALYSIS.Id_Ref=?"), {id});
    c.exec(QStringLiteral("DELETE FROM L_ANALYSIS WHERE L_ANALYSIS.Id=?"), {id});
    tx.commit();
}

void AnalysisStore::removeDefinition(DataSet& catalogue)
{
    if (!catalogue.isOpen() || catalogue.isEmpty())
        throw DbError(QStringLiteral("Il n'y a aucun enregistrement à supprimer."));
    if (catalogue.isEditing())
        catalogue.cancel();
    const qint64 id = catalogue.value(QStringLiteral("Id")).toLongLong();
    DataSet& followedRows = m_module.dataSet(QStringLiteral("L_Analysis"));
    try {
        Transaction tx(m_module.connection());
        // One followed row at a time, so that the rule removing its values
        // runs for each.
        followedRows.close();
        followedRows.filterBy(QStringLiteral("L_Analysis.Id_Analysis"), id);
        followedRows.open();
        while (!followedRows.isEmpty()) {
            followedRows.first();
            followedRows.remove();
        }
        followedRows.close();
        followedRows.replaceWhereLine(kFollowedWhere);
        catalogue.remove();
        tx.commit();
    } catch (...) {
        followedRows.close();
        followedRows.replaceWhereLine(kFollowedWhere);
        // The rows are back in the table: show them again.
        try {
            catalogue.refreshKeepRow();
        } catch (const DbError&) {
        }
        throw;
    }
}

} // namespace tav
