#include "db/JetType.h"

namespace tav {

QString declaredTypeName(JetType type, int size)
{
    switch (type) {
    case JetType::AutoNumber:
        // Only "INTEGER PRIMARY KEY" makes the key an alias of the row id.
        return QStringLiteral("INTEGER");
    case JetType::Long:
        return QStringLiteral("LONG");
    case JetType::Short:
        return QStringLiteral("SHORT");
    case JetType::Text:
        return size > 0 ? QStringLiteral("TEXT(%1)").arg(size) : QStringLiteral("TEXT(255)");
    case JetType::Memo:
        // Jet's other name for a memo: SQLite gives a declared type holding
        // "TEXT" text affinity, where "MEMO" would turn "0612345678" into a
        // number.
        return QStringLiteral("LONGTEXT");
    case JetType::Blob:
        return QStringLiteral("LONGBINARY");
    case JetType::Double:
        return QStringLiteral("DOUBLE");
    case JetType::Currency:
        return QStringLiteral("CURRENCY");
    case JetType::YesNo:
        return QStringLiteral("YESNO");
    case JetType::DateTime:
        return QStringLiteral("DATETIME");
    case JetType::Unknown:
        break;
    }
    return QString();
}

JetType jetTypeFromDeclared(const QString& declared, int* size)
{
    if (size)
        *size = 0;
    QString t = declared.trimmed().toUpper();
    const int paren = t.indexOf(QLatin1Char('('));
    if (paren >= 0) {
        const int close = t.indexOf(QLatin1Char(')'), paren);
        bool ok = false;
        const int n = t.mid(paren + 1, close - paren - 1).trimmed().toInt(&ok);
        if (ok && size)
            *size = n;
        t = t.left(paren).trimmed();
    }
    if (t == QLatin1String("INTEGER") || t == QLatin1String("COUNTER") ||
        t == QLatin1String("AUTOINCREMENT"))
        return JetType::AutoNumber;
    if (t == QLatin1String("LONG") || t == QLatin1String("INT") || t == QLatin1String("BIGINT"))
        return JetType::Long;
    if (t == QLatin1String("SHORT") || t == QLatin1String("SMALLINT") || t == QLatin1String("BYTE"))
        return JetType::Short;
    if (t == QLatin1String("TEXT") || t == QLatin1String("VARCHAR") || t == QLatin1String("CHAR"))
        return JetType::Text;
    if (t == QLatin1String("MEMO") || t == QLatin1String("LONGTEXT"))
        return JetType::Memo;
    if (t == QLatin1String("LONGBINARY") || t == QLatin1String("BLOB") ||
        t == QLatin1String("IMAGE") || t == QLatin1String("OLEOBJECT"))
        return JetType::Blob;
    if (t == QLatin1String("DOUBLE") || t == QLatin1String("FLOAT") || t == QLatin1String("REAL"))
        return JetType::Double;
    if (t == QLatin1String("CURRENCY") || t == QLatin1String("MONEY"))
        return JetType::Currency;
    if (t == QLatin1String("YESNO") || t == QLatin1String("BIT") || t == QLatin1String("BOOLEAN"))
        return JetType::YesNo;
    if (t == QLatin1String("DATETIME") || t == QLatin1String("DATE"))
        return JetType::DateTime;
    return JetType::Unknown;
}

bool isIntegerType(JetType type)
{
    return type == JetType::AutoNumber || type == JetType::Long || type == JetType::Short;
}

bool isTextType(JetType type)
{
    return type == JetType::Text || type == JetType::Memo;
}

} // namespace tav
