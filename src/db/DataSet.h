#pragma once

#include "db/FieldDef.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

namespace tav {

class Connection;
class SqliteStatement;

// A named query over the shared connection: its statement is a list of
// lines (the line holding "WHERE" is the filter that windows replace), its
// rows are read when it opens, and, when it reads one table, its current
// row can be edited, inserted and deleted. The rules of the data module
// (defaults, calculated fields, clean-up before a deletion) are hooks run
// inside these operations, whichever window triggers them.
class DataSet : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Row = QVector<QVariant>;
    using Hook = std::function<void(DataSet&)>;
    using CalcHook = std::function<void(DataSet&, Row&)>;

    DataSet(const QString& name, Connection& connection, QObject* parent = nullptr);

    const QString& name() const { return m_name; }
    Connection& connection() const { return m_connection; }

    // Statement
    const QStringList& sql() const { return m_sql; }
    void setSql(const QStringList& lines);
    // Replaces the first line containing "WHERE" (any case, even inside a
    // longer word); false when there is none. The line is fixed text: it
    // drops the values of an earlier filterBy().
    bool replaceWhereLine(const QString& line);

    // One condition of a filter: the column equals the value. The value is
    // bound to the statement at each opening, never written into its text,
    // so a key holding a quote or any other character is only data.
    struct FilterTerm
    {
        QString column; // "Id_Ref" or "Table.Id_Ref"
        QVariant value;
    };
    // Replaces the WHERE line with the terms joined by AND, after a fixed
    // condition written by the program when one is given. Throws DbError,
    // leaving the statement as it was, when a column is not a plain name or
    // the statement has no WHERE line: a filter is never silently dropped.
    void filterBy(const QString& column, const QVariant& value);
    void filterBy(const QVector<FilterTerm>& terms, const QString& fixedCondition = QString());
    // The values bound to the current filter, in order.
    const QVariantList& filterValues() const { return m_filterValues; }

    // The fields in their display order. A definition named "*" stands for
    // every column of the result that no other definition names.
    void setFieldDefs(const QVector<FieldDef>& defs) { m_defs = defs; }
    const QVector<FieldDef>& fieldDefs() const { return m_defs; }
    // Display format of one field, kept across re-openings.
    void setDisplayFormat(const QString& field, const QString& format);
    // Caption of one field, named in messages and grid titles; kept across
    // re-openings.
    void setCaption(const QString& field, const QString& caption);
    // A text field holding a date "dd/mm/yyyy": its value is checked as a
    // date when the row is posted.
    void setTextDate(const QString& field);
    // Columns read for one row when first asked for, not with every row.
    // Reaching a column stored after a row's pictures, when it holds text,
    // walks every page of those pictures: a list of a thousand animals with
    // photos would read hundreds of megabytes for two short texts (a null
    // or empty value is read from the row's header alone). Named as the
    // result names them (an alias when there is one); only a data set
    // reading one table defers, and no calculated field may depend on such
    // a column.
    void setLateColumns(const QStringList& names) { m_lateNames = names; }

    // Life
    void open(); // throws DbError; the data set stays closed on failure
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    // Closes, sets the statement, executes it (no rows expected), closes.
    void execSql(const QString& statement);
    void refreshKeepRow();

    // Navigation
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int recNo() const { return m_current; } // -1 when empty
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);
    bool locate(const QString& field, const QVariant& value);
    bool locateId(qint64 id) { return locate(QStringLiteral("Id"), id); }

    // Editing; each throws DbError and leaves the data unchanged on failure.
    void insert();
    void append();
    void edit();
    void post();
    void cancel();
    void remove();

    // Fields
    int fieldCount() const { return int(m_fields.size()); }
    const Field& field(int index) const { return m_fields.at(index); }
    int fieldIndex(const QString& name) const; // -1 when unknown
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // Changes whenever the fields are built anew, so that a rule may keep
    // field indices between rows.
    int fieldsGeneration() const { return m_generation; }

    // Values of the current row (the edit buffer while editing).
    QVariant value(const QString& field) const;
    QString asString(const QString& field) const;
    int asInt(const QString& field) const;
    double asDouble(const QString& field) const;
    bool asBool(const QString& field) const;
    QDate asDate(const QString& field) const;
    QByteArray asBytes(const QString& field) const;
    bool isNull(const QString& field) const;
    QString displayText(const QString& field) const;
    // Sets a value of the current row, entering edit state when browsing.
    // Texts typed by the user are checked when the row is posted.
    void setValue(const QString& field, const QVariant& value);

    // Rows, for grids and reports.
    const QVariant& valueAt(int row, int field) const
    {
        const QVariant& v = m_rows.at(row).at(field);
        return m_lateFields.isEmpty() ? v : lateAware(row, field, v);
    }
    QString displayTextAt(int row, int field) const;

    // Freezing the displays: no change notification until released.
    void disableControls() { ++m_frozen; }
    void enableControls();
    bool controlsDisabled() const { return m_frozen > 0; }

    // Rules
    Hook onNewRecord;
    Hook beforePost;
    Hook afterPost;
    Hook beforeDelete;
    Hook afterDelete;
    Hook deleteAborted; // beforeDelete ran but the row could not be deleted
    CalcHook onCalcFields;

signals:
    void aboutToReset();
    void reset();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged();
    void fieldChanged(const QString& field);
    void stateChanged();

private:
    void setState(State s);
    void notifyCurrent();
    void buildFields(const SqliteStatement& stmt);
    Row readRow(const SqliteStatement& stmt);
    QString deferLateColumns(const QString& selectList, QVector<int>* resultColumns);
    void markLate(Row& row) const;
    const QVariant& lateAware(int row, int field, const QVariant& v) const;
    void readLateColumns(int row) const; // throws DbError
    SqliteStatement prepare(const QString& text) const;
    void calc(Row& row);
    QString executedSql() const;
    Row fetchByRowId(qint64 rowId, qint64* storedRowId);
    int requireField(const QString& name) const;
    const Row* currentValues() const;

    QString m_name;
    Connection& m_connection;
    QStringList m_sql;
    QVariantList m_filterValues; // bound to the WHERE line's placeholders
    QVector<FieldDef> m_defs;
    QVector<Field> m_fields;
    QHash<QString, int> m_index;
    mutable QHash<QString, int> m_spelled; // spelling as asked -> m_index
    QHash<QString, QString> m_formats;     // lower-case field name -> format
    QHash<QString, QString> m_captions;    // lower-case field name -> caption
    QStringList m_textDates;               // lower-case field names
    QVector<int> m_calcTexts;              // calculated text fields
    // Mutable: a row's late columns are read into it when first asked for.
    mutable QVector<Row> m_rows;
    QVector<qint64> m_rowIds;
    int m_rowsVersion = 0;         // changes with every change to m_rows
    QHash<qint64, int> m_keyIndex; // key -> first row, for locate()
    int m_keyIndexField = -1;
    int m_keyIndexVersion = -1;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    State m_state = State::Inactive;
    Row m_buffer;
    int m_insertAt = -1;
    QString m_table; // the one table the statement reads, when writable
    QString m_selectList;
    QStringList m_lateNames;   // as set
    QVector<int> m_lateFields; // their fields in this opening, in select order
    QString m_lateSelect;      // their select items, for one row's reading
    int m_frozen = 0;
    int m_generation = 0;
};

} // namespace tav
