#pragma once

#include "db/JetType.h"

#include <QString>

namespace tav {

// How a data set shows one of its fields: grids take their columns, in this
// order, from these definitions.
struct FieldDef
{
    QString name;          // as the data set names it: "Date_Action", "ACTION.Gravity"
    QString caption;       // column title; the name when empty
    int displayWidth = 0;  // characters; 0: the column's size
    QString displayFormat; // "#######0.00", "#######0.000 kg"; empty: plain
    bool hidden = false;
    bool calculated = false; // computed by a rule when a row is fetched
    JetType calcType = JetType::Text;
    int calcSize = 128;

    static FieldDef shown(const QString& name, const QString& caption = QString(), int width = 0,
                          const QString& format = QString());
    static FieldDef hiddenField(const QString& name, const QString& caption = QString(),
                                int width = 0);
    static FieldDef calc(const QString& name, const QString& caption, JetType type, int size,
                         int width = 0);
};

// A field of an open data set: its definition plus what the engine told us.
struct Field
{
    FieldDef def;
    JetType type = JetType::Unknown;
    int size = 0;
    QString table;         // table the value comes from; empty for expressions
    QString column;        // its column in that table (an alias points to it)
    int resultColumn = -1; // index in the statement's result; -1 for calculated
    bool writable = false;
    bool textDate = false; // text holding "dd/mm/yyyy", checked as a date

    const QString& name() const { return def.name; }
    QString caption() const { return def.caption.isEmpty() ? def.name : def.caption; }
};

} // namespace tav
