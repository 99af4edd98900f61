#include "core/SqlClauses.h"

#include "core/TextFile.h"

namespace tav {

namespace {

bool replaceClause(QStringList& lines, const QString& keyword, const QString& text)
{
    if (text.isEmpty())
        return true;
    const int index = findClauseLine(lines, keyword);
    if (index < 0)
        return false;
    lines[index] = keyword + u' ' + text;
    return true;
}

// Index of the last line that is not blank; trailing blank lines of a
// statement file must not hide its final ORDER BY line.
qsizetype lastContentLine(const QStringList& lines)
{
    qsizetype index = lines.size() - 1;
    while (index >= 0 && lines.at(index).trimmed().isEmpty())
        --index;
    return index;
}

} // namespace

int findClauseLine(const QStringList& lines, const QString& keyword)
{
    const QString upperKeyword = keyword.toUpper();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).toUpper().contains(upperKeyword))
            return static_cast<int>(i);
    }
    return -1;
}

int findFromLine(const QStringList& lines)
{
    return findClauseLine(lines, QStringLiteral("FROM"));
}

int findWhereLine(const QStringList& lines)
{
    return findClauseLine(lines, QStringLiteral("WHERE"));
}

int findHavingLine(const QStringList& lines)
{
    return findClauseLine(lines, QStringLiteral("HAVING"));
}

int findOrderByLine(const QStringList& lines)
{
    return findClauseLine(lines, QStringLiteral("ORDER BY"));
}

bool replaceWhereLine(QStringList& lines, const QString& newLine)
{
    const int index = findWhereLine(lines);
    if (index < 0)
        return false;
    lines[index] = newLine;
    return true;
}

bool rewriteQueryClauses(QStringList& lines, bool dropFirstLine, const QueryClauses& clauses)
{
    QStringList result = lines;
    if (dropFirstLine && !result.isEmpty())
        result.removeFirst();

    if (!replaceClause(result, QStringLiteral("FROM"), clauses.from) ||
        !replaceClause(result, QStringLiteral("WHERE"), clauses.where))
        return false;

    if (!clauses.having.isEmpty()) {
        const QString having = QLatin1String("HAVING ") + clauses.having;
        const int index = findHavingLine(result);
        const qsizetype last = lastContentLine(result);
        if (index >= 0)
            result[index] = having;
        else if (last >= 0 && result.at(last).toUpper().contains(QLatin1String("ORDER BY")))
            result.insert(last, having);
        else
            result.append(having);
    }

    if (!replaceClause(result, QStringLiteral("ORDER BY"), clauses.orderBy))
        return false;

    lines = result;
    return true;
}

bool rewriteQueryFile(const QString& path, bool dropFirstLine, const QueryClauses& clauses,
                      QStringList* result)
{
    bool ok = false;
    QStringList lines = readTextLines(path, &ok);
    if (!ok || !rewriteQueryClauses(lines, dropFirstLine, clauses))
        return false;
    if (result)
        *result = lines;
    return true;
}

} // namespace tav
