#include "JetWriter.h"

#include <QDateTime>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace tav::test {

namespace {

constexpr int kPage = 4096;
constexpr int kRowCountOffset = 12;
constexpr int kMaxRow = kPage - 14 - 2;

void put16(QByteArray& b, int at, int v)
{
    qToLittleEndian<quint16>(quint16(v), b.data() + at);
}
void put32(QByteArray& b, int at, qint64 v)
{
    qToLittleEndian<quint32>(quint32(v), b.data() + at);
}
void add16(QByteArray& b, int v)
{
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}
void add32(QByteArray& b, qint64 v)
{
    char c[4];
    qToLittleEndian<quint32>(quint32(v), c);
    b.append(c, 4);
}

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

QByteArray ucs2(const QString& text, bool compress)
{
    bool narrow = compress && !text.isEmpty();
    for (const QChar c : text)
        narrow = narrow && c.unicode() > 0 && c.unicode() < 256;
    QByteArray out;
    if (narrow) {
        out.append('\xFF').append('\xFE');
        for (const QChar c : text)
            out.append(char(c.unicode()));
        return out;
    }
    for (const QChar c : text)
        add16(out, c.unicode());
    return out;
}

bool isFixed(JetColumnType t)
{
    switch (t) {
    case JetColumnType::Text:
    case JetColumnType::Memo:
    case JetColumnType::Ole:
    case JetColumnType::Binary:
        return false;
    default:
        return true;
    }
}

int fixedSize(JetColumnType t)
{
    switch (t) {
    case JetColumnType::Bool:
    case JetColumnType::Byte:
        return 1;
    case JetColumnType::Int:
        return 2;
    case JetColumnType::Long:
    case JetColumnType::Float:
        return 4;
    default:
        return 8;
    }
}

struct Writer
{
    QVector<QByteArray> pages;
    int lvalPage = -1;

    int newPage(char type)
    {
        QByteArray p(kPage, '\0');
        p[0] = type;
        p[1] = 0x01;
        pages.append(p);
        return int(pages.size()) - 1;
    }
    int newDataPage(qint64 tdef)
    {
        const int n = newPage(0x01);
        put32(pages[n], 4, tdef);
        put16(pages[n], 2, kPage - 14);
        return n;
    }
    int newLvalPage()
    {
        const int n = newPage(0x01);
        std::memcpy(pages[n].data() + 4, "LVAL", 4);
        put16(pages[n], 2, kPage - 14);
        return n;
    }
    // Free bytes of a page for one more row with its offset entry.
    int room(int page) const
    {
        const QByteArray& p = pages.at(page);
        const int rows = qFromLittleEndian<quint16>(p.constData() + kRowCountOffset);
        const int end =
            rows == 0 ? kPage
                      : qFromLittleEndian<quint16>(p.constData() + kRowCountOffset + 2 * rows);
        return end - (kRowCountOffset + 2 + 2 * rows) - 2;
    }
    int addRow(int page, const QByteArray& row)
    {
        QByteArray& p = pages[page];
        const int rows = qFromLittleEndian<quint16>(p.constData() + kRowCountOffset);
        const int end =
            rows == 0 ? kPage
                      : qFromLittleEndian<quint16>(p.constData() + kRowCountOffset + 2 * rows);
        const int start = end - int(row.size());
        std::memcpy(p.data() + start, row.constData(), size_t(row.size()));
        put16(p, kRowCountOffset + 2 + 2 * rows, start);
        put16(p, kRowCountOffset, rows + 1);
        put16(p, 2, start - (kRowCountOffset + 2 + 2 * (rows + 1)));
        return rows;
    }

    // The 12-byte reference to a long value, with the value itself when it
    // is short enough to stay in the row.
    QByteArray longValue(const QByteArray& data)
    {
        QByteArray header(12, '\0');
        const qint64 n = data.size();
        if (n <= 64) {
            put32(header, 0, n | 0x80000000LL);
            return header + data;
        }
        if (n <= kMaxRow - 64) {
            if (lvalPage < 0 || room(lvalPage) < n)
                lvalPage = newLvalPage();
            const int row = addRow(lvalPage, data);
            put32(header, 0, n | 0x40000000LL);
            put32(header, 4, (qint64(lvalPage) << 8) | row);
            return header;
        }
        const int chunk = kMaxRow - 4;
        QVector<int> chain;
        for (qint64 at = 0; at < n; at += chunk)
            chain.append(newLvalPage());
        for (int i = 0; i < chain.size(); ++i) {
            QByteArray row;
            add32(row, i + 1 < chain.size() ? (qint64(chain.at(i + 1)) << 8) : 0);
            row.append(data.mid(qsizetype(i) * chunk, chunk));
            addRow(chain.at(i), row);
        }
        put32(header, 0, n);
        put32(header, 4, qint64(chain.first()) << 8);
        return header;
    }

    QByteArray encodeRow(const JetWriteTable& t, const QVariantList& values, QString* error)
    {
        const int ncols = int(t.columns.size());
        int fixedBytes = 0;
        for (const JetWriteColumn& c : t.columns)
            if (isFixed(c.type) && c.type != JetColumnType::Bool)
                fixedBytes += fixedSize(c.type);
        QByteArray row;
        add16(row, ncols);
        QByteArray fixed(fixedBytes, '\0');
        QByteArray mask((ncols + 7) / 8, '\0');
        QVector<QByteArray> vars;
        int at = 0;
        for (int i = 0; i < ncols; ++i) {
            const JetWriteColumn& c = t.columns.at(i);
            const QVariant v = values.value(i);
            const bool present = v.isValid() && !v.isNull();
            const bool bit = c.type == JetColumnType::Bool ? present && v.toBool() : present;
            if (bit)
                mask[i / 8] = char(mask.at(i / 8) | (1 << (i % 8)));
            if (c.type == JetColumnType::Bool)
                continue;
            if (isFixed(c.type)) {
                char* p = fixed.data() + at;
                at += fixedSize(c.type);
                if (!present)
                    continue;
                switch (c.type) {
                case JetColumnType::Byte:
                    *p = char(v.toInt());
                    break;
                case JetColumnType::Int:
                    qToLittleEndian<qint16>(qint16(v.toInt()), p);
                    break;
                case JetColumnType::Long:
                    qToLittleEndian<qint32>(qint32(v.toLongLong()), p);
                    break;
                case JetColumnType::Float:
                    qToLittleEndian<float>(v.toFloat(), p);
                    break;
                case JetColumnType::Money:
                    qToLittleEndian<qint64>(v.toLongLong(), p);
                    break;
                case JetColumnType::DateTime: {
                    double days = 0;
                    if (v.typeId() == QMetaType::QDateTime) {
                        const QDateTime dt = v.toDateTime();
                        days = double(QDate(1899, 12, 30).daysTo(dt.date())) +
                               dt.time().msecsSinceStartOfDay() / 86400000.0;
                    } else {
                        days = double(QDate(1899, 12, 30).daysTo(v.toDate()));
                    }
                    qToLittleEndian<double>(days, p);
                    break;
                }
                default:
                    qToLittleEndian<double>(v.toDouble(), p);
                    break;
                }
                continue;
            }
            QByteArray data;
            if (present) {
                if (c.type == JetColumnType::Text)
                    data = ucs2(v.toString(), c.compressed);
                else if (c.type == JetColumnType::Memo)
                    data = longValue(ucs2(v.toString(), c.compressed));
                else if (c.type == JetColumnType::Ole)
                    data = longValue(v.toByteArray());
                else
                    data = v.toByteArray();
            }
            vars.append(data);
        }
        row += fixed;
        QVector<int> offsets;
        for (const QByteArray& d : std::as_const(vars)) {
            offsets.append(int(row.size()));
            row += d;
        }
        if (!vars.isEmpty()) {
            add16(row, int(row.size())); // end of the variable data
            for (int v = int(offsets.size()) - 1; v >= 0; --v)
                add16(row, offsets.at(v));
            add16(row, int(vars.size()));
        }
        row += mask;
        if (row.size() > kMaxRow) {
            *error = QStringLiteral("row of %1 too long").arg(t.name);
            return {};
        }
        return row;
    }
};

QByteArray tableDefinition(const JetWriteTable& t, bool system, qint64 rows, qint64 nextAuto,
                           qint64 usageMap)
{
    QByteArray d(63, '\0');
    d[0] = 0x02;
    d[1] = 0x01;
    put32(d, 16, rows);
    put32(d, 20, nextAuto);
    d[24] = 0x01;
    d[40] = system ? 0x53 : 0x4E;
    int vars = 0;
    for (const JetWriteColumn& c : t.columns)
        vars += isFixed(c.type) ? 0 : 1;
    put16(d, 41, int(t.columns.size()));
    put16(d, 43, vars);
    put16(d, 45, int(t.columns.size()));
    put32(d, 55, usageMap);
    put32(d, 59, usageMap);
    int fixedAt = 0;
    int varIndex = 0;
    for (int i = 0; i < t.columns.size(); ++i) {
        const JetWriteColumn& c = t.columns.at(i);
        QByteArray e(25, '\0');
        e[0] = char(int(c.type));
        put16(e, 5, i);
        put16(e, 9, i);
        const bool text = c.type == JetColumnType::Text || c.type == JetColumnType::Memo;
        if (text)
            put16(e, 11, 0x0409);
        if (isFixed(c.type)) {
            e[15] = char(0x01 | 0x02 | (c.autoNumber ? 0x04 : 0));
            put16(e, 21, fixedAt);
            put16(e, 23, fixedSize(c.type));
            if (c.type != JetColumnType::Bool)
                fixedAt += fixedSize(c.type);
        } else {
            e[15] = 0x02;
            e[16] = char(text && c.compressed ? 0x01 : 0x00);
            put16(e, 7, varIndex++);
            put16(e, 23, c.type == JetColumnType::Text ? c.size * 2 : 0);
        }
        d += e;
    }
    for (const JetWriteColumn& c : t.columns) {
        const QByteArray name = ucs2(c.name, false);
        add16(d, int(name.size()));
        d += name;
    }
    add16(d, 0xFFFF);
    put32(d, 8, d.size() - 8);
    return d;
}

} // namespace

QByteArray jetFileBytes(const QVector<JetWriteTable>& tables, QString* error)
{
    Writer w;
    w.newPage(0x00);  // 0: header, written last
    w.newDataPage(0); // 1: usage maps
    const int catalogPage = w.newPage(0x02);
    QVector<int> tdefPages;
    for (int i = 0; i < tables.size(); ++i)
        tdefPages.append(w.newPage(0x02));

    JetWriteTable catalog;
    catalog.name = QStringLiteral("MSysObjects");
    catalog.columns = {{QStringLiteral("Id"), JetColumnType::Long},
                       {QStringLiteral("ParentId"), JetColumnType::Long},
                       {QStringLiteral("Name"), JetColumnType::Text, 128},
                       {QStringLiteral("Type"), JetColumnType::Int},
                       {QStringLiteral("Flags"), JetColumnType::Long},
                       {QStringLiteral("LvProp"), JetColumnType::Ole}};
    for (int i = 0; i < tables.size(); ++i)
        catalog.rows.append(
            {tdefPages.at(i), qint64(0x0F000001), tables.at(i).name, 1, 0, QVariant()});

    QVector<const JetWriteTable*> all{&catalog};
    QVector<int> allPages{catalogPage};
    for (int i = 0; i < tables.size(); ++i) {
        all.append(&tables.at(i));
        allPages.append(tdefPages.at(i));
    }
    int mapPage = 1;
    for (int t = 0; t < all.size(); ++t) {
        const JetWriteTable& table = *all.at(t);
        QVector<int> dataPages;
        qint64 nextAuto = 1;
        int autoColumn = -1;
        for (int c = 0; c < table.columns.size(); ++c)
            if (table.columns.at(c).autoNumber)
                autoColumn = c;
        for (const QVariantList& values : table.rows) {
            const QByteArray row = w.encodeRow(table, values, error);
            if (row.isEmpty())
                return {};
            if (dataPages.isEmpty() || w.room(dataPages.last()) < row.size())
                dataPages.append(w.newDataPage(allPages.at(t)));
            w.addRow(dataPages.last(), row);
            if (autoColumn >= 0)
                nextAuto = qMax(nextAuto, values.value(autoColumn).toLongLong() + 1);
        }
        QByteArray map(5, '\0');
        if (!dataPages.isEmpty()) {
            put32(map, 1, dataPages.first());
            map.append(QByteArray((dataPages.last() - dataPages.first()) / 8 + 1, '\0'));
            for (const int p : std::as_const(dataPages)) {
                const int bit = p - dataPages.first();
                map[5 + bit / 8] = char(map.at(5 + bit / 8) | (1 << (bit % 8)));
            }
        } else {
            map.append('\0');
        }
        if (map.size() > kMaxRow) {
            *error = QStringLiteral("table %1 spreads over too many pages").arg(table.name);
            return {};
        }
        if (w.room(mapPage) < map.size())
            mapPage = w.newDataPage(0);
        const int mapRow = w.addRow(mapPage, map);
        const QByteArray def = tableDefinition(table, t == 0, table.rows.size(), nextAuto,
                                               (qint64(mapPage) << 8) | mapRow);
        if (def.size() > kPage) {
            *error = QStringLiteral("definition of %1 too long").arg(table.name);
            return {};
        }
        QByteArray& page = w.pages[allPages.at(t)];
        std::memcpy(page.data(), def.constData(), size_t(def.size()));
        put16(page, 2, kPage - int(def.size()) - 8);
    }

    QByteArray& head = w.pages[0];
    std::memcpy(head.data() + 4, "Standard Jet DB", 15);
    put32(head, 0x14, 1);
    QByteArray plain(128, '\0');
    put16(plain, 0x3C - 0x18, 1252);
    const QByteArray scrambled = rc4(plain);
    std::memcpy(head.data() + 0x18, scrambled.constData(), 128);

    QByteArray file;
    file.reserve(qsizetype(w.pages.size()) * kPage);
    for (const QByteArray& p : std::as_const(w.pages))
        file += p;
    return file;
}

bool writeJetFile(const QString& path, const QVector<JetWriteTable>& tables, QString* error)
{
    const QByteArray bytes = jetFileBytes(tables, error);
    if (bytes.isEmpty())
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace tav::test
