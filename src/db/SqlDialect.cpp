#include "db/SqlDialect.h"

#include "db/DbError.h"

#include <QDate>
#include <QRegularExpression>

namespace tav {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Jet date literals are month first (#12/25/2008#) or ISO (#2008-12-25#).
QString convertDateLiteral(const QString& body)
{
    static const QRegularExpression us(QStringLiteral(
        "^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{2,4})(?:\\s+(\\d{1,2}:\\d{2}(?::\\d{2})?))?\\s*$"));
    static const QRegularExpression iso(QStringLiteral(
        "^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:\\s+(\\d{1,2}:\\d{2}(?::\\d{2})?))?\\s*$"));
    QDate d;
    auto m = us.match(body);
    if (m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year += year < 30 ? 2000 : 1900;
        d = QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
    } else {
        m = iso.match(body);
        if (m.hasMatch())
            d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    }
    if (!d.isValid())
        return QString();
    return QLatin1Char('\'') + d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
}

QString likePattern(const QString& literalBody)
{
    QString out;
    out.reserve(literalBody.size());
    for (QChar c : literalBody) {
        if (c == QLatin1Char('*'))
            out += QLatin1Char('%');
        else if (c == QLatin1Char('?'))
            out += QLatin1Char('_');
        else
            out += c;
    }
    return out;
}

} // namespace

QString quoteSqlText(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

QString adaptJetSql(const QString& jet)
{
    QString out;
    out.reserve(jet.size() + 16);
    const int n = jet.size();
    bool afterLike = false; // the last word written was LIKE
    int i = 0;
    while (i < n) {
        const QChar c = jet.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A string literal; the quote character doubled stands for itself.
            QString body;
            int j = i + 1;
            while (j < n) {
                if (jet.at(j) == c) {
                    if (j + 1 < n && jet.at(j + 1) == c) {
                        body += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                body += jet.at(j);
                ++j;
            }
            // A text left open (a statement cut short) would swallow the rest
            // of the statement: closing it here could run an UPDATE without
            // its WHERE, so the statement is refused instead.
            if (j >= n)
                throw DbError(QString::fromUtf8("L'instruction SQL contient un texte ouvert par "
                                                "%1 et jamais fermé : elle n'est pas exécutée.")
                                  .arg(c));
            if (afterLike)
                body = likePattern(body);
            out += quoteSqlText(body);
            i = j + 1;
            afterLike = false;
            continue;
        }
        if (c == QLatin1Char('[')) {
            const int j = jet.indexOf(QLatin1Char(']'), i + 1);
            const int end = j < 0 ? n : j + 1;
            out += jet.mid(i, end - i);
            i = end;
            afterLike = false;
            continue;
        }
        if (c == QLatin1Char('#')) {
            const int j = jet.indexOf(QLatin1Char('#'), i + 1);
            if (j > i) {
                const QString lit = convertDateLiteral(jet.mid(i + 1, j - i - 1));
                if (!lit.isEmpty()) {
                    out += lit;
                    i = j + 1;
                    afterLike = false;
                    continue;
                }
            }
            out += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('&')) {
            out += QLatin1String("||");
            ++i;
            afterLike = false;
            continue;
        }
        if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(jet.at(j)))
                ++j;
            const QString word = jet.mid(i, j - i);
            const QString upper = word.toUpper();
            // A word glued to a dot is a qualified name, never a keyword.
            const bool qualified = (i > 0 && jet.at(i - 1) == QLatin1Char('.')) ||
                                   (j < n && jet.at(j) == QLatin1Char('.'));
            if (!qualified && upper == QLatin1String("COUNTER"))
                out += QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT");
            else
                out += word;
            afterLike = !qualified && upper == QLatin1String("LIKE");
            i = j;
            continue;
        }
        if (!c.isSpace())
            afterLike = false;
        out += c;
        ++i;
    }
    return out;
}

} // namespace tav
