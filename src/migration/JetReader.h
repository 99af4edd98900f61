#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

namespace tav {

// Column types as a Jet file numbers them.
enum class JetColumnType {
    Bool = 0x01,
    Byte = 0x02,
    Int = 0x03,
    Long = 0x04,
    Money = 0x05,
    Float = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Numeric = 0x10
};

struct JetColumnInfo
{
    QString name;
    JetColumnType type = JetColumnType::Text;
    int size = 0;
};

struct JetTableInfo
{
    QString name;
    QVector<JetColumnInfo> columns;
    qint64 declaredRows = 0; // the row count the table's definition states
};

// Reads the tables of a Microsoft Jet database (Access 97 to 2003 ".mdb")
// through libmdb, decoding every value from its stored bytes. A value is
// an invalid QVariant for NULL, bool for Yes/No, qint64 for integers and
// for Currency (in ten-thousandths), double, QDate, QString for Text and
// Memo (an empty text stays empty, distinct from NULL), QByteArray for
// OLE and binary columns.
//
// Files that libmdb would read silently wrong are refused: a header that
// is not that of a Jet 3 or Jet 4 database, an Access 2007 file, a
// password or an encryption, a length that is not whole pages, a table
// that yields fewer or more rows than its definition states. The
// library's behaviour that depends on environment variables is turned
// off while the file is open.
class JetReader
{
public:
    JetReader();
    ~JetReader();
    JetReader(const JetReader&) = delete;
    JetReader& operator=(const JetReader&) = delete;

    // False with a French reason when the file cannot be read as above.
    bool open(const QString& path, QString* error);
    bool isJet3() const { return m_jet3; }
    QStringList tableNames() const { return m_tables; }

    // Every row of a table, in the file's order. onRow returns false to
    // stop (then readTable returns false with an empty error). Values that
    // cannot be decoded are NULL and described in notes.
    bool readTable(const QString& table, JetTableInfo* info,
                   const std::function<bool(const QVariantList&)>& onRow, QString* error,
                   QStringList* notes = nullptr);

private:
    QByteArray longValue(const QByteArray& header, bool* ok) const;
    QByteArray pageRow(quint32 page, int row, bool* ok) const;

    struct Handle;
    std::unique_ptr<Handle> m_handle;
    QFile m_file;
    const uchar* m_bytes = nullptr;
    qint64 m_size = 0;
    int m_pageSize = 4096;
    bool m_jet3 = false;
    QStringList m_tables;
};

} // namespace tav
