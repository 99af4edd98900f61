#include "db/Connection.h"
#include "core/Clock.h"

#include "db/DbError.h"
#include "db/SqlDialect.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace tav {

namespace {

std::atomic<int> s_connectionCounter{0};

// Letter of a character with its case and accent removed; covers the Latin
// letters a French booklet meets.
ushort baseLetter(ushort c)
{
    if (c < 0x80) {
        if (c >= 'A' && c <= 'Z')
            return ushort(c + 32);
        return c;
    }
    static const char* const latin1 =
        // U+00C0 .. U+00FF
        "aaaaaaaceeeeiiiidnooooo*ouuuuyts"
        "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
    if (c >= 0xC0 && c <= 0xFF)
        return ushort(latin1[c - 0xC0]);
    if (c >= 0x100 && c <= 0x17F) {
        static const char* const extA =
            "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiijjjjkkk"
            "llllllllllnnnnnnnnnoooooooorrrrrrssssssssttttttuuuuuuuuuuuu"
            "wwyyyzzzzzzs";
        return ushort(extA[c - 0x100]);
    }
    return QChar(c).toCaseFolded().unicode();
}

// Decodes one code point of UTF-8 text; malformed bytes read as themselves.
char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return c;
    }
    for (int i = 0; i < extra && p < end && (*p & 0xC0) == 0x80; ++i)
        cp = (cp << 6) | (*p++ & 0x3F);
    return cp;
}

ushort foldedUnit(char32_t cp)
{
    if (cp < 0x80)
        return ushort((cp >= 'A' && cp <= 'Z') ? cp + 32 : cp);
    if (cp > 0xFFFF)
        return 0xFFFF;
    return QChar(char16_t(cp)).toCaseFolded().unicode();
}

int compareUtf8(const unsigned char* a, int na, const unsigned char* b, int nb)
{
    // A list sorted by name compares the same names over and over.
    if (na == nb && (na == 0 || std::memcmp(a, b, size_t(na)) == 0))
        return 0;
    const unsigned char* const ae = a + na;
    const unsigned char* const be = b + nb;
    // Primary: letters without case and accents.
    const unsigned char* pa = a;
    const unsigned char* pb = b;
    while (pa < ae && pb < be) {
        const char32_t ca = nextCodePoint(pa, ae);
        const char32_t cb = nextCodePoint(pb, be);
        const ushort x = ca > 0xFFFF ? 0xFFFF : baseLetter(ushort(ca));
        const ushort y = cb > 0xFFFF ? 0xFFFF : baseLetter(ushort(cb));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if ((pa < ae) != (pb < be))
        return pa < ae ? 1 : -1;
    // Secondary: accents, case folded away.
    pa = a;
    pb = b;
    while (pa < ae && pb < be) {
        const ushort x = foldedUnit(nextCodePoint(pa, ae));
        const ushort y = foldedUnit(nextCodePoint(pb, be));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

int frenchCollation(void*, int na, const void* a, int nb, const void* b)
{
    return compareUtf8(static_cast<const unsigned char*>(a), na,
                       static_cast<const unsigned char*>(b), nb);
}

// Case of a code point folded away: Unicode-aware, with a shortcut for the
// ASCII text that most of a booklet's names are made of.
char32_t foldCase(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    return QChar::toCaseFolded(cp);
}

// SQL LIKE with "%" and "_" and an optional escape character, ignoring case
// for every letter (SQLite's own LIKE ignores it for ASCII letters only, so
// 'É%' would miss "émile"). Accents stay significant, as in Jet.
bool likeMatches(const unsigned char* p, const unsigned char* pe, const unsigned char* s,
                 const unsigned char* se, char32_t escape)
{
    // Greedy match remembering the last "%": linear in practice, never
    // worse than the product of the two lengths.
    const unsigned char* starP = nullptr;
    const unsigned char* starS = nullptr;
    while (s < se) {
        if (p < pe) {
            const unsigned char* next = p;
            char32_t pc = nextCodePoint(next, pe);
            bool literal = false;
            if (escape && pc == escape && next < pe) {
                pc = nextCodePoint(next, pe);
                literal = true;
            }
            if (!literal && pc == '%') {
                starP = next;
                starS = s;
                p = next;
                continue;
            }
            const unsigned char* sNext = s;
            const char32_t sc = nextCodePoint(sNext, se);
            if ((!literal && pc == '_') || foldCase(pc) == foldCase(sc)) {
                p = next;
                s = sNext;
                continue;
            }
        }
        if (!starP)
            return false;
        nextCodePoint(starS, se);
        s = starS;
        p = starP;
    }
    while (p < pe) {
        const unsigned char* next = p;
        if (nextCodePoint(next, pe) != '%')
            return false;
        p = next;
    }
    return true;
}

// like(pattern, text[, escape]), the function behind "text LIKE pattern".
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    char32_t escape = 0;
    if (argc == 3) {
        const auto* e = sqlite3_value_text(argv[2]);
        const int n = sqlite3_value_bytes(argv[2]);
        const unsigned char* end = e ? e + n : nullptr;
        const unsigned char* q = e;
        if (q && q < end)
            escape = nextCodePoint(q, end);
        if (!e || q != end || escape == 0) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    const auto* pattern = sqlite3_value_text(argv[0]);
    const int np = sqlite3_value_bytes(argv[0]);
    const auto* text = sqlite3_value_text(argv[1]);
    const int nt = sqlite3_value_bytes(argv[1]);
    if (!pattern || !text)
        return; // NULL, as for the built-in LIKE
    sqlite3_result_int(ctx, likeMatches(pattern, pattern + np, text, text + nt, escape) ? 1 : 0);
}

QDate isoDate(sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return QDate();
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    const QString s = QString::fromUtf8(text).left(10);
    QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        d = QDate::fromString(s, QStringLiteral("dd/MM/yyyy"));
    return d;
}

void datePartFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const QDate d = isoDate(argv[0]);
    if (!d.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto part = reinterpret_cast<quintptr>(sqlite3_user_data(ctx));
    sqlite3_result_int(ctx, part == 0 ? d.year() : part == 1 ? d.month() : d.day());
}

void caseFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
    const bool upper = sqlite3_user_data(ctx) != nullptr;
    const QByteArray out = (upper ? s.toUpper() : s.toLower()).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

void nzFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL)
        sqlite3_result_value(ctx, argv[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, argv[1]);
    else
        sqlite3_result_int(ctx, 0);
}

void nowFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    const QByteArray now =
        tav::Clock::now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toUtf8();
    sqlite3_result_text(ctx, now.constData(), int(now.size()), SQLITE_TRANSIENT);
}

} // namespace

QVector<quint32> frenchSortKey(const QString& text)
{
    // The code points as the comparison reads them from UTF-8: a pair of
    // surrogates is one code point, a lone surrogate becomes "?" as in
    // Qt's conversion.
    QVector<char32_t> points;
    points.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            points.append(QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            points.append(U'?');
        } else {
            points.append(c);
        }
    }
    // Letters first, then a zero below every letter (a text that is the
    // beginning of another comes first), then the accents; each unit is
    // moved up by one to keep zero for the separator.
    QVector<quint32> key;
    key.reserve(points.size() * 2 + 1);
    for (const char32_t cp : std::as_const(points))
        key.append(quint32(cp > 0xFFFF ? 0xFFFF : baseLetter(ushort(cp))) + 1);
    key.append(0);
    for (const char32_t cp : std::as_const(points))
        key.append(quint32(foldedUnit(cp)) + 1);
    return key;
}

int compareFrench(const QString& a, const QString& b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    return compareUtf8(reinterpret_cast<const unsigned char*>(x.constData()), int(x.size()),
                       reinterpret_cast<const unsigned char*>(y.constData()), int(y.size()));
}

Connection::Connection() : m_name(QStringLiteral("tavirune-%1").arg(++s_connectionCounter)) {}

Connection::~Connection()
{
    close();
    QSqlDatabase::removeDatabase(m_name);
}

void Connection::open(const QString& filePath, bool createIfMissing)
{
    close();
    if (!createIfMissing && !QFileInfo::exists(filePath))
        throw DbError(QStringLiteral("La base de données « %1 » est introuvable.").arg(filePath));
    QSqlDatabase db = QSqlDatabase::contains(m_name)
                          ? QSqlDatabase::database(m_name, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(filePath);
    db.setConnectOptions(
        createIfMissing ? QString() : QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw DbError(databaseErrorText(db.lastError(), filePath));
    m_filePath = filePath;
    m_transactionDepth = 0;
    registerExtensions();
    // A file that is not a database is refused here rather than at the
    // first statement of a window.
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA schema_version"))) {
        const QString why = databaseErrorText(check.lastError(), filePath);
        check.finish();
        close();
        throw DbError(why);
    }
    check.finish();
    exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
}

void Connection::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.close();
    m_transactionDepth = 0;
    m_memo = ReadMemo();
}

void Connection::reopen()
{
    open(m_filePath);
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

namespace {

// Nobody may write it by its permission bits, or this process may not.
bool markedReadOnly(const QFileInfo& info)
{
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !(info.permissions() & writeBits) || !info.isWritable();
}

} // namespace

QString Connection::readOnlyReason() const
{
    if (!isOpen())
        return QString();
    const QFileInfo file(m_filePath);
    sqlite3* db = sqliteHandle();
    if (markedReadOnly(file) || (db && sqlite3_db_readonly(db, "main") == 1)) {
        return QStringLiteral("La base de données « %1 » est en lecture seule : les "
                              "modifications ne peuvent pas y être enregistrées.")
            .arg(m_filePath);
    }
    const QFileInfo folder(file.absolutePath());
    if (markedReadOnly(folder)) {
        return QStringLiteral("Le dossier « %1 » de la base de données est en lecture seule : "
                              "les modifications de la base ne peuvent pas y être enregistrées.")
            .arg(folder.absoluteFilePath());
    }
    return QString();
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

sqlite3* Connection::sqliteHandle() const
{
    if (!isOpen())
        return nullptr;
    const QVariant handle = database().driver()->handle();
    return handle.isValid() ? *static_cast<sqlite3* const*>(handle.constData()) : nullptr;
}

void Connection::registerExtensions()
{
    auto* db = sqliteHandle();
    if (!db)
        throw DbError(QStringLiteral("La connexion à la base de données n'est pas disponible."));
    sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, frenchCollation, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "Year", 1, flags, reinterpret_cast<void*>(quintptr(0)),
                               datePartFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "Month", 1, flags, reinterpret_cast<void*>(quintptr(1)),
                               datePartFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "Day", 1, flags, reinterpret_cast<void*>(quintptr(2)),
                               datePartFunction, nullptr, nullptr, nullptr);
    static int upperTag = 1;
    sqlite3_create_function_v2(db, "UCase", 1, flags, &upperTag, caseFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "LCase", 1, flags, nullptr, caseFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "Nz", -1, flags, nullptr, nzFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "Now", 0, SQLITE_UTF8, nullptr, nowFunction, nullptr, nullptr,
                               nullptr);
    for (int args : {2, 3})
        sqlite3_create_function_v2(db, "like", args, flags, nullptr, likeFunction, nullptr, nullptr,
                                   nullptr);
}

namespace {

// Prepares a Jet statement with its bound values and runs it.
void runBound(QSqlQuery& q, const QString& jetSql, const QVariantList& values,
              const QString& filePath)
{
    bool ok = q.prepare(adaptJetSql(jetSql));
    if (ok) {
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        ok = q.exec();
    }
    if (!ok)
        throw DbError(databaseErrorText(q.lastError(), filePath));
}

} // namespace

void Connection::exec(const QString& jetSql, const QVariantList& values)
{
    QSqlQuery q(database());
    runBound(q, jetSql, values, m_filePath);
}

QVariant Connection::scalar(const QString& jetSql, const QVariantList& values)
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    runBound(q, jetSql, values, m_filePath);
    return q.next() ? q.value(0) : QVariant();
}

QVariantList Connection::firstRow(const QString& jetSql, const QVariantList& values)
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    runBound(q, jetSql, values, m_filePath);
    QVariantList row;
    if (q.next()) {
        const int columns = q.record().count();
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(q.value(i));
    }
    return row;
}

QPair<qint64, unsigned> Connection::contentStamp(sqlite3* db)
{
    // The engine learns of another connection's commit when it next reads:
    // the pragma reads, where the file control would give the count known
    // at the last read.
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return {-1, 0};
    }
    const bool ok = sqlite3_step(stmt) == SQLITE_ROW;
    const auto version = unsigned(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    if (!ok)
        return {-1, 0};
    return {qint64(sqlite3_total_changes64(db)), version};
}

QVariant Connection::cachedScalar(const QString& jetSql, const QVariantList& values)
{
    constexpr int kMemoEntries = 64;
    constexpr qint64 kMemoBytes = 2 * 1024 * 1024;
    sqlite3* db = sqliteHandle();
    // Inside a transaction a value read may yet be rolled back.
    QPair<qint64, unsigned> stamp(-1, 0);
    if (db && sqlite3_get_autocommit(db)) {
        // Within a burst of look-ups another connection's commit is checked
        // once, at the first; this connection's own changes still count.
        if (m_burstDepth > 0 && m_burstVersion.first >= 0)
            stamp = {qint64(sqlite3_total_changes64(db)), m_burstVersion.second};
        else
            stamp = contentStamp(db);
        if (m_burstDepth > 0 && m_burstVersion.first < 0)
            m_burstVersion = stamp;
    }
    if (stamp.first < 0) {
        m_memo = ReadMemo();
        return scalar(jetSql, values);
    }
    if (stamp != m_memo.stamp) {
        m_memo = ReadMemo();
        m_memo.stamp = stamp;
    }
    QString key = jetSql;
    for (const QVariant& v : values) {
        key += QChar(0x1f) + QString::number(v.typeId()) + QLatin1Char(':') +
               (v.typeId() == QMetaType::QByteArray ? QString::fromLatin1(v.toByteArray().toHex())
                                                    : v.toString());
    }
    const auto known = m_memo.values.constFind(key);
    if (known != m_memo.values.constEnd())
        return *known;
    const QVariant value = scalar(jetSql, values);
    const qint64 size = value.typeId() == QMetaType::QByteArray ? value.toByteArray().size()
                        : value.typeId() == QMetaType::QString  ? value.toString().size() * 2
                                                                : 16;
    if (m_memo.values.size() >= kMemoEntries || m_memo.bytes + size > kMemoBytes) {
        m_memo.values.clear();
        m_memo.bytes = 0;
    }
    if (size <= kMemoBytes) {
        m_memo.values.insert(key, value);
        m_memo.bytes += size + key.size() * 2;
    }
    return value;
}

void Connection::forEachRow(const QString& jetSql,
                            const std::function<void(const QVariantList&)>& row)
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(adaptJetSql(jetSql)))
        throw DbError(databaseErrorText(q.lastError(), m_filePath));
    const int columns = q.record().count();
    QVariantList values;
    while (q.next()) {
        values.clear();
        for (int i = 0; i < columns; ++i)
            values.append(q.value(i));
        row(values);
    }
}

qint64 Connection::lastInsertId()
{
    return scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
}

void Connection::execScript(const QString& sqliteScript)
{
    auto* db = sqliteHandle();
    if (!db)
        throw DbError(QStringLiteral("La base de données n'est pas ouverte."));
    char* error = nullptr;
    const QByteArray utf8 = sqliteScript.toUtf8();
    const int rc = sqlite3_exec(db, utf8.constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString why = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        throw DbError(databaseErrorText(rc, why, m_filePath));
    }
}

QStringList Connection::tableNames() const
{
    return database().tables(QSql::Tables);
}

void Connection::beginTransaction()
{
    if (m_transactionDepth == 0)
        exec(QStringLiteral("BEGIN IMMEDIATE"));
    else
        exec(QStringLiteral("SAVEPOINT sp%1").arg(m_transactionDepth));
    ++m_transactionDepth;
}

void Connection::commit()
{
    if (m_transactionDepth <= 0)
        return;
    --m_transactionDepth;
    if (m_transactionDepth == 0)
        exec(QStringLiteral("COMMIT"));
    else
        exec(QStringLiteral("RELEASE sp%1").arg(m_transactionDepth));
}

void Connection::rollback()
{
    if (m_transactionDepth <= 0)
        return;
    --m_transactionDepth;
    if (m_transactionDepth == 0) {
        exec(QStringLiteral("ROLLBACK"));
    } else {
        exec(QStringLiteral("ROLLBACK TO sp%1").arg(m_transactionDepth));
        exec(QStringLiteral("RELEASE sp%1").arg(m_transactionDepth));
    }
}

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_connection.beginTransaction();
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_connection.rollback();
        } catch (const DbError&) {
            // Nothing more can be done while unwinding; the engine has
            // already abandoned the transaction.
        }
    }
}

void Transaction::commit()
{
    m_connection.commit();
    m_done = true;
}

} // namespace tav
