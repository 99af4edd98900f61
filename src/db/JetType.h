#pragma once

#include <QString>

namespace tav {

// Storage types of the booklet's columns. The schema declares them with their
// historical names so that the declared type of a column tells its type.
enum class JetType {
    AutoNumber,
    Long,
    Short,
    Text,
    Memo,
    Blob,
    Double,
    Currency,
    YesNo,
    DateTime,
    Unknown
};

// Declared SQL type written into the schema ("SHORT", "TEXT(128)", ...).
QString declaredTypeName(JetType type, int size = 0);

// Type of a column from its declared SQL type; size receives the text size
// when one is declared, else 0.
JetType jetTypeFromDeclared(const QString& declared, int* size = nullptr);

bool isIntegerType(JetType type);
bool isTextType(JetType type);

} // namespace tav
