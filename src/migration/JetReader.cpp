#include "migration/JetReader.h"

#include "core/FrenchText.h"
#include "migration/JetValues.h"

// libmdb's header needs glib's declarations first.
// clang-format off
#include <glib.h>
#include <mdbtools.h>
// clang-format on

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace tav {

namespace {

// The header of a Jet file is scrambled with RC4 under a fixed key.
QByteArray rc4(const QByteArray& data)
{
    const unsigned char key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    QByteArray out = data;
    for (int n = 0, i = 0, j = 0; n < out.size(); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        out[n] = char(out[n] ^ s[(s[i] + s[j]) & 0xFF]);
    }
    return out;
}

bool isAllZero(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (c != 0)
            return false;
    return true;
}

// The variables by which libmdb changes its text conversions and its
// reading strategies; unset while a file is read so that every reading
// gives the same values.
void clearLibraryEnvironment()
{
    for (const char* name : {"MDBICONV", "MDBOPTS", "MDB_JET3_CHARSET"})
        qunsetenv(name);
}

} // namespace

struct JetReader::Handle
{
    MdbHandle* mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

JetReader::JetReader() = default;

JetReader::~JetReader() = default;

bool JetReader::open(const QString& path, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return fail(fr("Le fichier « %1 » ne peut pas être lu.").arg(path));
    m_size = m_file.size();
    const QByteArray head = m_file.read(0x100);
    if (head.size() < 0x100 || head.at(0) != 0)
        return fail(fr("Le fichier « %1 » n'est pas une base de données Microsoft Access, ou il "
                       "est vide ou endommagé.")
                        .arg(path));
    const QByteArray signature = head.mid(4, 15);
    const quint32 version = qFromLittleEndian<quint32>(head.constData() + 0x14);
    if (signature == "Standard ACE DB" || (signature == "Standard Jet DB" && version >= 2))
        return fail(fr("Le fichier « %1 » est une base Access 2007 ou plus récente (.accdb) : "
                       "seules les bases .MDB d'Access 97 à 2003 peuvent être importées.")
                        .arg(path));
    if (signature != "Standard Jet DB" || version > 1)
        return fail(fr("Le fichier « %1 » n'est pas une base de données Microsoft Access, ou il "
                       "est endommagé.")
                        .arg(path));
    m_jet3 = version == 0;
    m_pageSize = m_jet3 ? 2048 : 4096;
    if (m_size < 3 * m_pageSize || m_size % m_pageSize != 0)
        return fail(fr("Le fichier « %1 » est incomplet ou endommagé : sa longueur n'est pas "
                       "celle d'une base Access entière.")
                        .arg(path));
    const QByteArray plain = rc4(head.mid(0x18, m_jet3 ? 126 : 128));
    QByteArray password = plain.mid(0x42 - 0x18, m_jet3 ? 20 : 40);
    if (!m_jet3) {
        // Jet 4 masks the password with the whole days of its creation date.
        double created = 0;
        const quint64 bits = qFromLittleEndian<quint64>(plain.constData() + 0x72 - 0x18);
        std::memcpy(&created, &bits, sizeof created);
        if (std::isfinite(created) && std::fabs(created) < 1.0e9) {
            const qint32 days = qint32(std::floor(created));
            char mask[4];
            qToLittleEndian(days, mask);
            for (int i = 0; i < password.size(); ++i)
                password[i] = char(password[i] ^ mask[i % 4]);
        }
    }
    const quint32 key = qFromLittleEndian<quint32>(plain.constData() + 0x3E - 0x18);
    if (!isAllZero(password) || key != 0)
        return fail(fr("La base « %1 » est protégée par un mot de passe ou chiffrée : ouvrez-la "
                       "dans Microsoft Access, retirez le mot de passe, puis importez-la de "
                       "nouveau.")
                        .arg(path));
    m_bytes = m_file.map(0, m_size);
    if (!m_bytes)
        return fail(fr("Le fichier « %1 » ne peut pas être lu.").arg(path));

    clearLibraryEnvironment();
    m_handle = std::make_unique<Handle>();
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb)
        return fail(fr("Le fichier « %1 » ne peut pas être ouvert comme base Access.").arg(path));
    mdb_set_bind_size(m_handle->mdb, 256 * 1024);
    if (!mdb_read_catalog(m_handle->mdb, MDB_TABLE))
        return fail(
            fr("La liste des tables de « %1 » ne peut pas être lue : le fichier est endommagé.")
                .arg(path));
    for (unsigned int i = 0; i < m_handle->mdb->num_catalog; ++i) {
        const auto* entry =
            static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_handle->mdb->catalog, i));
        if (entry->object_type != MDB_TABLE ||
            mdb_is_system_table(const_cast<MdbCatalogEntry*>(entry)))
            continue;
        const QString name = QString::fromUtf8(entry->object_name);
        if (!name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive))
            m_tables << name;
    }
    return true;
}

QByteArray JetReader::pageRow(quint32 page, int row, bool* ok) const
{
    *ok = false;
    const int countOffset = m_jet3 ? 8 : 12;
    if (page == 0 || qint64(page + 1) * m_pageSize > m_size || row < 0)
        return {};
    const uchar* p = m_bytes + qint64(page) * m_pageSize;
    if (p[0] != 0x01)
        return {};
    const int rows = qFromLittleEndian<quint16>(p + countOffset);
    if (row >= rows || countOffset + 2 + row * 2 + 2 > m_pageSize)
        return {};
    const int start = qFromLittleEndian<quint16>(p + countOffset + 2 + row * 2) & 0x1FFF;
    const int end =
        row == 0 ? m_pageSize : (qFromLittleEndian<quint16>(p + countOffset + row * 2) & 0x1FFF);
    if (start >= end || end > m_pageSize)
        return {};
    *ok = true;
    return QByteArray(reinterpret_cast<const char*>(p + start), end - start);
}

QByteArray JetReader::longValue(const QByteArray& header, bool* ok) const
{
    *ok = false;
    if (header.size() < 12)
        return {};
    const quint32 word = qFromLittleEndian<quint32>(header.constData());
    const qint64 length = word & 0x3FFFFFFF;
    if (length > m_size)
        return {};
    if (word & 0x80000000u) { // stored in the row itself
        if (header.size() < 12 + length)
            return {};
        *ok = true;
        return header.mid(12, int(length));
    }
    quint32 pointer = qFromLittleEndian<quint32>(header.constData() + 4);
    if (word & 0x40000000u) { // one row of a long-value page
        bool found = false;
        const QByteArray row = pageRow(pointer >> 8, int(pointer & 0xFF), &found);
        if (!found || row.size() < length)
            return {};
        *ok = true;
        return row.left(int(length));
    }
    // A chain of rows, each starting with the pointer to the next.
    QByteArray value;
    value.reserve(length);
    int guard = int(m_size / m_pageSize) + 1;
    while (value.size() < length && pointer != 0 && guard-- > 0) {
        bool found = false;
        const QByteArray row = pageRow(pointer >> 8, int(pointer & 0xFF), &found);
        if (!found || row.size() < 4)
            return {};
        pointer = qFromLittleEndian<quint32>(row.constData());
        value.append(row.constData() + 4, row.size() - 4);
    }
    if (value.size() < length)
        return {};
    value.truncate(length);
    *ok = true;
    return value;
}

bool JetReader::readTable(const QString& table, JetTableInfo* info,
                          const std::function<bool(const QVariantList&)>& onRow, QString* error,
                          QStringList* notes)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_handle || !m_handle->mdb)
        return fail(fr("La base Access n'est pas ouverte."));
    MdbHandle* mdb = m_handle->mdb;
    QByteArray name = table.toUtf8();
    MdbTableDef* def = mdb_read_table_by_name(mdb, name.data(), MDB_TABLE);
    if (!def)
        return fail(fr("La table %1 ne peut pas être lue : le fichier est endommagé.").arg(table));
    const std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> owner(def, mdb_free_tabledef);
    if (!mdb_read_columns(def) || def->num_cols == 0 || def->num_cols > 256)
        return fail(
            fr("Les colonnes de la table %1 ne peuvent pas être lues : le fichier est endommagé.")
                .arg(table));
    JetTableInfo columns;
    columns.name = table;
    columns.declaredRows = def->num_rows;
    for (unsigned int i = 0; i < def->num_cols; ++i) {
        const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i));
        columns.columns.append(
            {QString::fromUtf8(col->name), JetColumnType(col->col_type), col->col_size});
    }
    if (info)
        *info = columns;
    mdb_rewind_table(def);
    QVector<MdbField> fields(def->num_cols);
    qint64 read = 0;
    const auto* pageStart = mdb->pg_buf;
    while (mdb_fetch_row(def)) {
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(mdb, int(def->cur_row) - 1, &start, &length) != 0)
            return fail(fr("Une ligne de la table %1 ne peut pas être lue : le fichier est "
                           "endommagé.")
                            .arg(table));
        start &= 0x1FFF;
        if (start + qint64(length) > m_pageSize)
            return fail(fr("Une ligne de la table %1 déborde de sa page : le fichier est "
                           "endommagé.")
                            .arg(table));
        // The null bitmap tells NULL from an empty text, which the bound
        // values of the library do not.
        mdb_crack_row(def, start, length, fields.data());
        QVariantList values;
        values.reserve(int(def->num_cols));
        for (unsigned int i = 0; i < def->num_cols; ++i) {
            const MdbField& f = fields[i];
            const JetColumnInfo& c = columns.columns.at(int(i));
            if (c.type == JetColumnType::Bool) {
                values << QVariant(!f.is_null);
                continue;
            }
            const auto* value = static_cast<const unsigned char*>(f.value);
            if (f.is_null || !value || f.siz < 0 || value < pageStart ||
                value + f.siz > pageStart + m_pageSize) {
                values << QVariant();
                continue;
            }
            const QByteArray raw(reinterpret_cast<const char*>(value), f.siz);
            const auto fixed = [&raw](int size) {
                return raw.size() >= size;
            };
            const auto note = [&](const QString& what) {
                if (notes)
                    *notes
                        << fr("%1, ligne %2, %3 : %4").arg(table).arg(read + 1).arg(c.name, what);
            };
            switch (c.type) {
            case JetColumnType::Byte:
                values << (fixed(1) ? QVariant(qint64(quint8(raw.at(0)))) : QVariant());
                break;
            case JetColumnType::Int:
                values << (fixed(2) ? QVariant(qint64(qFromLittleEndian<qint16>(raw.constData())))
                                    : QVariant());
                break;
            case JetColumnType::Long:
                values << (fixed(4) ? QVariant(qint64(qFromLittleEndian<qint32>(raw.constData())))
                                    : QVariant());
                break;
            case JetColumnType::Money:
                values << (fixed(8) ? QVariant(jetCurrencyUnits(raw.constData())) : QVariant());
                break;
            case JetColumnType::Float:
                values << (fixed(4) ? QVariant(double(qFromLittleEndian<float>(raw.constData())))
                                    : QVariant());
                break;
            case JetColumnType::Double:
                values << (fixed(8) ? QVariant(qFromLittleEndian<double>(raw.constData()))
                                    : QVariant());
                break;
            case JetColumnType::DateTime: {
                const QDate d = fixed(8) ? jetDate(raw.constData()) : QDate();
                if (!d.isValid())
                    note(fr("date illisible, laissée vide"));
                values << (d.isValid() ? QVariant(d) : QVariant());
                break;
            }
            case JetColumnType::Text:
                values << (m_jet3 ? jet3Text(raw) : jet4Text(raw));
                break;
            case JetColumnType::Memo:
            case JetColumnType::Ole: {
                if (raw.size() < 12) {
                    values << QVariant();
                    break;
                }
                bool ok = false;
                const QByteArray bytes = longValue(raw, &ok);
                if (!ok) {
                    note(fr("valeur longue illisible, laissée vide"));
                    values << QVariant();
                } else if (c.type == JetColumnType::Memo) {
                    values << (m_jet3 ? jet3Text(bytes) : jet4Text(bytes));
                } else {
                    values << bytes;
                }
                break;
            }
            default:
                values << raw;
                break;
            }
        }
        ++read;
        if (onRow && !onRow(values)) {
            if (error)
                error->clear();
            return false;
        }
    }
    if (read != columns.declaredRows)
        return fail(fr("La table %1 est incomplète : %2 lignes lues sur les %3 qu'elle déclare. "
                       "Le fichier est tronqué ou endommagé.")
                        .arg(table)
                        .arg(read)
                        .arg(columns.declaredRows));
    return true;
}

} // namespace tav
