#include "db/DateInput.h"

#include "db/DbError.h"

#include <QRegularExpression>
#include <QStringList>

namespace tav {

namespace {

enum class Shape { Empty, Incomplete, Invalid, Complete };

// Day and month are 0 when left blank.
struct DateParts
{
    Shape shape = Shape::Invalid;
    int day = 0;
    int month = 0;
    int year = 0;
    bool iso = false;
};

bool digitsAndBlanks(const QString& s)
{
    for (const QChar c : s) {
        if (!c.isDigit() && c != QLatin1Char(' '))
            return false;
    }
    return true;
}

int number(const QString& digits)
{
    return digits.isEmpty() ? 0 : digits.toInt();
}

DateParts split(const QString& typed)
{
    DateParts p;
    QString t = typed;
    t.replace(QLatin1Char('_'), QLatin1Char(' '));
    QString bare = t;
    bare.remove(QLatin1Char('/'));
    if (bare.trimmed().isEmpty()) {
        p.shape = Shape::Empty;
        return p;
    }
    // Only the exact "yyyy-mm-dd": trailing text means something else was
    // meant.
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const auto m = iso.match(t);
    if (m.hasMatch()) {
        p.shape = Shape::Complete;
        p.year = m.captured(1).toInt();
        p.month = m.captured(2).toInt();
        p.day = m.captured(3).toInt();
        p.iso = true;
        return p;
    }
    const QStringList parts = t.split(QLatin1Char('/'));
    if (parts.size() != 3 || !digitsAndBlanks(parts.at(0)) || !digitsAndBlanks(parts.at(1)) ||
        !digitsAndBlanks(parts.at(2)))
        return p;
    QString day = parts.at(0);
    QString month = parts.at(1);
    QString year = parts.at(2);
    day.remove(QLatin1Char(' '));
    month.remove(QLatin1Char(' '));
    year.remove(QLatin1Char(' '));
    if (day.size() > 2 || month.size() > 2 || year.size() > 4)
        return p;
    p.day = number(day);
    p.month = number(month);
    p.year = number(year);
    p.shape = year.size() < 4 ? Shape::Incomplete : Shape::Complete;
    return p;
}

} // namespace

QString incompleteDateMessage()
{
    return QStringLiteral(
        "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications");
}

QString invalidDateMessage(const QString& typed)
{
    return QStringLiteral("'%1' n'est pas une date correcte").arg(typed);
}

QString checkedTextDate(const QString& typed)
{
    const DateParts p = split(typed);
    switch (p.shape) {
    case Shape::Empty:
        return QString(QLatin1String(""));
    case Shape::Incomplete:
        throw DbError(incompleteDateMessage());
    case Shape::Invalid:
        throw DbError(invalidDateMessage(typed));
    case Shape::Complete:
        break;
    }
    bool ok = p.year >= 100 && p.month <= 12 && p.day <= 31;
    if (ok && p.day > 0 && p.month > 0)
        ok = QDate(p.year, p.month, p.day).isValid();
    if (!ok)
        throw DbError(invalidDateMessage(typed));
    if (p.iso)
        return QDate(p.year, p.month, p.day).toString(QStringLiteral("dd/MM/yyyy"));
    QString text = typed;
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

QDate checkedDate(const QString& typed)
{
    const DateParts p = split(typed);
    switch (p.shape) {
    case Shape::Empty:
        return QDate();
    case Shape::Incomplete:
        throw DbError(incompleteDateMessage());
    case Shape::Invalid:
        throw DbError(invalidDateMessage(typed));
    case Shape::Complete:
        break;
    }
    const QDate d = p.year >= 100 ? QDate(p.year, p.month, p.day) : QDate();
    if (!d.isValid())
        throw DbError(invalidDateMessage(typed));
    return d;
}

} // namespace tav
