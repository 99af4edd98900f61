#include "maintenance/UpdateScript.h"

#include "core/Clock.h"
#include "core/FrenchText.h"
#include "core/TextFile.h"
#include "core/TextLookup.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/JetType.h"
#include "media/BitmapRoutines.h"
#include "media/Cabinet.h"
#include "media/JpegFile.h"
#include "media/Thumbnail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <optional>

namespace tav {

namespace {

constexpr int kArgumentLimit = 255;

// Keywords in the order they are tested: the first one found decides.
enum class Command {
    NotFieldType,
    NotFieldExists,
    FieldExists,
    NotTableExists,
    TableExists,
    TableEmpty,
    ConvertStatScript,
    ReplaceStringInStatScript,
    ConvertQueryScript,
    ReplaceStringInQueryScript,
    ExtractImageToJpeg,
    ExtractJpegImage,
    ResizeBitmapInDataBase,
    ConvertBitmapToJpegInDataBase,
    CompactDataBase,
    SqlExe,
    None
};

const std::pair<const char*, Command> kKeywords[] = {
    {"NotFieldType", Command::NotFieldType},
    {"NotFieldExists", Command::NotFieldExists},
    {"FieldExists", Command::FieldExists},
    {"NotTableExists", Command::NotTableExists},
    {"TableExists", Command::TableExists},
    {"TableEmpty", Command::TableEmpty},
    {"ConvertStatScript", Command::ConvertStatScript},
    {"ReplaceStringInStatScript", Command::ReplaceStringInStatScript},
    {"ConvertQueryScript", Command::ConvertQueryScript},
    {"ReplaceStringInQueryScript", Command::ReplaceStringInQueryScript},
    {"ExtractImageToJpeg", Command::ExtractImageToJpeg},
    {"ExtractJpegImage", Command::ExtractJpegImage},
    {"ResizeBitmapInDataBase", Command::ResizeBitmapInDataBase},
    {"ConvertBitmapToJpegInDataBase", Command::ConvertBitmapToJpegInDataBase},
    {"CompactDataBase", Command::CompactDataBase},
    {"SqlExe", Command::SqlExe}};

Command commandOf(const QString& line)
{
    for (const auto& [keyword, command] : kKeywords)
        if (line.contains(QLatin1String(keyword)))
            return command;
    return Command::None;
}

// The text between the first open and the first close delimiter after it,
// cut to 255 characters.
QString between(const QString& line, QChar open, QChar close)
{
    const int from = int(line.indexOf(open));
    if (from < 0)
        return {};
    const int to = int(line.indexOf(close, from + 1));
    if (to < 0)
        return {};
    return line.mid(from + 1, to - from - 1).left(kArgumentLimit);
}

// One delimiter character dropped on each side.
QString unquoted(const QString& text)
{
    return text.size() >= 2 ? text.mid(1, text.size() - 2) : QString();
}

// A table or column name pasted into a statement: letters, digits and
// underscores only, so that a script cannot slip SQL in through a name.
QString checkedName(const QString& name)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!identifier.match(name).hasMatch())
        throw DbError(fr("nom de table ou de colonne refusé : « %1 »").arg(name));
    return name;
}

int typeCode(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("ftUnknown"),    QStringLiteral("ftString"),
        QStringLiteral("ftSmallint"),   QStringLiteral("ftInteger"),
        QStringLiteral("ftWord"),       QStringLiteral("ftBoolean"),
        QStringLiteral("ftFloat"),      QStringLiteral("ftCurrency"),
        QStringLiteral("ftBCD"),        QStringLiteral("ftDate"),
        QStringLiteral("ftTime"),       QStringLiteral("ftDateTime"),
        QStringLiteral("ftBytes"),      QStringLiteral("ftVarBytes"),
        QStringLiteral("ftAutoInc"),    QStringLiteral("ftBlob"),
        QStringLiteral("ftMemo"),       QStringLiteral("ftGraphic"),
        QStringLiteral("ftFmtMemo"),    QStringLiteral("ftParadoxOle"),
        QStringLiteral("ftDBaseOle"),   QStringLiteral("ftTypedBinary"),
        QStringLiteral("ftCursor"),     QStringLiteral("ftFixedChar"),
        QStringLiteral("ftWideString"), QStringLiteral("ftLargeInt"),
        QStringLiteral("ftADT"),        QStringLiteral("ftArray"),
        QStringLiteral("ftReference"),  QStringLiteral("ftDataSet"),
        QStringLiteral("ftOraBlob"),    QStringLiteral("ftOraClob"),
        QStringLiteral("ftVariant"),    QStringLiteral("ftInterface"),
        QStringLiteral("ftIDispatch"),  QStringLiteral("ftGuid")};
    if (name == QLatin1String("ftWideMemo"))
        return 39;
    const int i = int(names.indexOf(name));
    return i < 0 ? 0 : i;
}

// The field type code under which a column of the booklet presents itself.
int typeCodeOf(JetType type)
{
    switch (type) {
    case JetType::Text:
        return 24;
    case JetType::Memo:
        return 39;
    case JetType::Short:
        return 2;
    case JetType::Long:
        return 3;
    case JetType::AutoNumber:
        return 14;
    case JetType::Double:
        return 6;
    case JetType::Currency:
        return 8;
    case JetType::YesNo:
        return 5;
    case JetType::DateTime:
        return 11;
    case JetType::Blob:
        return 15;
    case JetType::Unknown:
        break;
    }
    return 0;
}

// A picture command that failed, with the final line it logs.
struct PictureFailure
{
    QString line;
};

class Runner
{
public:
    Runner(const UpdateScriptContext& c) : m_c(c), m_db(*c.connection) {}

    void log(const QString& message)
    {
        // One line per message, whatever its text holds: an engine error
        // carries its detail after a bare CR.
        QString oneLine = message;
        oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
        oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
        QFile file(m_c.dataFolder + QStringLiteral("Maj.Log"));
        if (file.open(QIODevice::Append))
            file.write((updateLogLine(oneLine) + QStringLiteral("\r\n")).toUtf8());
    }

    // Columns of a table as its declared types tell them, by name without
    // regard to case.
    std::optional<JetType> columnType(const QString& table, const QString& column)
    {
        std::optional<JetType> found;
        bool any = false;
        m_db.forEachRow(QStringLiteral("PRAGMA table_info(") + checkedName(table) +
                            QLatin1Char(')'),
                        [&](const QVariantList& row) {
                            any = true;
                            if (row.at(1).toString().compare(column, Qt::CaseInsensitive) == 0)
                                found = jetTypeFromDeclared(row.at(2).toString());
                        });
        if (!any)
            throw DbError(fr("la table « %1 » n'existe pas").arg(table));
        return found;
    }

    bool tableExists(const QString& table)
    {
        for (const QString& t : m_db.tableNames())
            if (t.compare(table, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    // True when the block of the condition runs.
    bool holds(Command command, const QString& line)
    {
        const QString table = between(line, QLatin1Char('('), QLatin1Char('.'));
        const QString column = between(line, QLatin1Char('.'), QLatin1Char(')'));
        const QString name = between(line, QLatin1Char('('), QLatin1Char(')'));
        switch (command) {
        case Command::NotFieldType: {
            const auto type = columnType(table, column);
            if (!type)
                throw DbError(fr("la colonne « %1.%2 » n'existe pas").arg(table, column));
            return typeCodeOf(*type) != typeCode(between(line, QLatin1Char('{'), QLatin1Char('}')));
        }
        case Command::NotFieldExists:
            return !columnType(table, column).has_value();
        case Command::FieldExists:
            return columnType(table, column).has_value();
        case Command::NotTableExists:
            return !tableExists(name);
        case Command::TableExists:
            return tableExists(name);
        case Command::TableEmpty:
            return !m_db.scalar(QStringLiteral("SELECT id FROM ") + checkedName(name)).isValid();
        default:
            return true;
        }
    }

    QString action(Command command, const QString& line, QString* logged)
    {
        switch (command) {
        case Command::SqlExe: {
            const QString statement = between(line, QLatin1Char('{'), QLatin1Char('}'));
            *logged = fr("SQL:") + statement;
            m_db.exec(statement);
            return *logged;
        }
        case Command::ReplaceStringInStatScript:
        case Command::ReplaceStringInQueryScript: {
            const QString oldText = unquoted(between(line, QLatin1Char('('), QLatin1Char(')')));
            const QString newText = unquoted(between(line, QLatin1Char('{'), QLatin1Char('}')));
            const bool stat = command == Command::ReplaceStringInStatScript;
            *logged = (stat ? fr("MODIFICATION:Statistiques(") : fr("MODIFICATION:Requêtes(")) +
                      oldText + QLatin1Char(')');
            // replace() of SQLite is case-sensitive, as the rule wants.
            m_db.exec(
                QStringLiteral("UPDATE ") +
                    (stat ? QStringLiteral("STAT_QUERY") : QStringLiteral("SQL_QUERY")) +
                    QStringLiteral(" SET Query = replace(Query, ?, ?) WHERE Query IS NOT NULL"),
                {oldText, newText});
            return (stat ? fr("MODIFICATION:Statistiques(") : fr("MODIFICATION:Requêtes(")) +
                   oldText + QLatin1Char(')');
        }
        case Command::ConvertStatScript:
            *logged = fr("CONVERSION:Statistiques");
            importTree(true, between(line, QLatin1Char('{'), QLatin1Char('}')));
            return fr("CONVERSION:Statistiques");
        case Command::ConvertQueryScript:
            *logged = fr("CONVERSION:Requêtes");
            importTree(false, QString());
            return fr("CONVERSION:Requêtes");
        default:
            break;
        }
        return {};
    }

    void importTree(bool stat, const QString& payload)
    {
        const QString folder =
            m_c.programFolder + (stat ? QStringLiteral("Stat/") : QStringLiteral("Query/"));
        const QString treeFile =
            folder + (stat ? QStringLiteral("StatTree.def") : QStringLiteral("QueryTree.def"));
        if (!QFileInfo::exists(treeFile))
            return;
        const QStringList lines = readTextLines(treeFile);
        const QString tree = stat ? QStringLiteral("STAT_TREE") : QStringLiteral("SQL_TREE");
        const QString queries = stat ? QStringLiteral("STAT_QUERY") : QStringLiteral("SQL_QUERY");
        for (int n = 0; n < lines.size(); ++n) {
            const QString& raw = lines.at(n);
            const bool item = raw.startsWith(QLatin1Char('\t'));
            // The delivered files end each line with two characters.
            const QString body = item ? raw.mid(1) : raw;
            const QString title = body.left(std::max<qsizetype>(0, body.size() - 2)).trimmed();
            m_db.exec(QStringLiteral("INSERT INTO ") + tree +
                          QStringLiteral(" (Id_File, NodeTitle, NodeLevel, NodePos, NodeType) "
                                         "VALUES (-1, ?, ?, ?, ?)"),
                      {title, item ? 1 : 0, n, item ? 2 : 1});
            if (!item)
                continue;
            const qint64 node = m_db.lastInsertId();
            // A title names a file of the folder, never one elsewhere.
            if (!isSafeEntryName(title))
                continue;
            const QString queryFile =
                folder + title + (stat ? QStringLiteral(".stq") : QStringLiteral(".req"));
            if (!QFileInfo::exists(queryFile))
                continue;
            QStringList text = readTextLines(queryFile);
            if (stat && text.size() > 1)
                text[1] += QLatin1Char('{') + payload + QLatin1Char('}');
            m_db.exec(QStringLiteral("INSERT INTO ") + queries +
                          QStringLiteral(" (Id_Tree, Query) VALUES (?, ?)"),
                      {node, text.join(QStringLiteral("\r\n"))});
        }
    }

    QString compact()
    {
        m_db.close();
        const QString file = m_c.databaseFolder + QStringLiteral("Access/") + m_c.databaseFileName;
        const MaintenanceResult r = compactDatabaseInPlace(file);
        m_db.reopen();
        if (!r.ok)
            throw DbError(r.error);
        return texts::updateCompacting();
    }

    QString pictures(Command command, const QString& line);

    MaintenanceResult run(const QString& scriptFile, bool backUp);

private:
    const UpdateScriptContext& m_c;
    Connection& m_db;
};

QString resultText(const QString& error)
{
    // One line per message in the log, whatever the error's text holds.
    QString oneLine = error;
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return error.isEmpty() ? QStringLiteral(" (Ok)")
                           : QStringLiteral(" (error : ") + oneLine + QLatin1Char(')');
}

} // namespace

QString updateLogLine(const QString& message)
{
    if (message.isEmpty())
        return {};
    return Clock::now().toString(QStringLiteral("dd/MM/yyyy-hh:mm:ss")) + QStringLiteral(" : ") +
           message;
}

QString Runner::pictures(Command command, const QString& line)
{
    // "(qTABLEq,qCOLUMNq,...)": one delimiter dropped around each argument.
    QStringList args;
    for (const QString& a :
         between(line, QLatin1Char('('), QLatin1Char(')')).split(QLatin1Char(',')))
        args << unquoted(a);
    const QString table = args.value(0);
    const QString column = args.value(1);
    const bool extracting =
        command == Command::ExtractImageToJpeg || command == Command::ExtractJpegImage;
    const char* phrase =
        command == Command::ExtractImageToJpeg ? "Extraction des images au format jpeg de la table "
        : command == Command::ExtractJpegImage ? "Extraction des images jpeg de la table "
        : command == Command::ResizeBitmapInDataBase
            ? "Redimensionne les images Bitmap de la table "
            : "Conversion des images Bitmap en Jpeg de la table ";
    log(fr("OPTIMISATION:") + fr(phrase) + table);

    const QString images = m_c.databaseFolder + QStringLiteral("Images/");
    QString error;
    bool any = false;
    try {
        checkedName(table);
        checkedName(column);
        const QString prefix = args.value(2);
        // A prefix names files of the pictures folder, never a path.
        if (extracting && !isSafeEntryName(prefix + QStringLiteral("0.jpg")))
            throw DbError(fr("préfixe de fichier refusé : « %1 »").arg(prefix));
        if (extracting)
            QDir().mkpath(images);
        QVector<QPair<qint64, QByteArray>> rows;
        m_db.forEachRow(QStringLiteral("SELECT Id, ") + column + QStringLiteral(" FROM ") + table,
                        [&rows](const QVariantList& r) {
                            const QByteArray bytes = r.at(1).toByteArray();
                            if (!bytes.isEmpty())
                                rows.append({r.at(0).toLongLong(), bytes});
                        });
        any = !rows.isEmpty();
        const QString store = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + column +
                              QStringLiteral("=? WHERE Id=?");
        for (const auto& [id, bytes] : std::as_const(rows)) {
            const QString file = images + prefix + QString::number(id) + QStringLiteral(".jpg");
            if (command == Command::ExtractJpegImage) {
                log(fr("Extraction de l'image : ") + file);
                QSaveFile out(file);
                if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() ||
                    !out.commit())
                    throw DbError(fr("impossible d'écrire « %1 »").arg(file));
                m_db.exec(store, {QVariant(QMetaType(QMetaType::QByteArray)), id});
                continue;
            }
            QImage picture;
            if (!picture.loadFromData(bytes))
                throw DbError(fr("l'image %1 ne peut pas être lue").arg(id));
            picture = picture.convertToFormat(QImage::Format_RGB888);
            if (command == Command::ExtractImageToJpeg) {
                log(fr("Conversion de l'image : ") + file);
                if (!QFileInfo::exists(file)) {
                    if (const JpegResult w = writeJpegFile(picture, file, 100); !w.ok)
                        throw DbError(w.error);
                }
                if (!line.contains(QLatin1String("ExtractImageToJpegCopy")))
                    m_db.exec(store, {QVariant(QMetaType(QMetaType::QByteArray)), id});
            } else if (command == Command::ResizeBitmapInDataBase) {
                log(fr("Redimensionnement de l'image : ") + QString::number(id) +
                    QStringLiteral(".jpg"));
                const int width = args.value(2).toInt();
                const int height = args.value(3).toInt();
                QImage fitted;
                if (!fitPictureInBox(fitted, picture, width, height))
                    throw DbError(fr("l'image %1 ne peut pas être réduite").arg(id));
                if (line.contains(QLatin1String("ResizeBitmapDataBaseInWhiteRect"))) {
                    QImage box;
                    makeBlankBitmap(box, width, height, Qt::white);
                    const int left = (width - fitted.width()) / 2;
                    const int top = (height - fitted.height()) / 2;
                    for (int y = 0; y < fitted.height(); ++y)
                        std::memcpy(box.scanLine(top + y) + left * 3, fitted.constScanLine(y),
                                    size_t(fitted.width()) * 3);
                    fitted = box;
                }
                m_db.exec(store, {bmpFile(fitted), id});
            } else {
                log(fr("Conversion de l'image : ") + QString::number(id) + QStringLiteral(".jpg"));
                const QString temp = images + QStringLiteral("temp.jpg");
                QDir().mkpath(images);
                if (const JpegResult w = writeJpegFile(picture, temp, 100); !w.ok)
                    throw DbError(w.error);
                QFile jpeg(temp);
                const QByteArray converted =
                    jpeg.open(QIODevice::ReadOnly) ? jpeg.readAll() : QByteArray();
                jpeg.close();
                QFile::remove(temp);
                if (converted.isEmpty())
                    throw DbError(fr("la conversion de l'image %1 a échoué").arg(id));
                m_db.exec(store, {converted, id});
            }
        }
    } catch (const DbError& e) {
        error = e.message();
    }
    const QString last =
        any ? QString()
            : (extracting ? fr("Pas d'images dans la base") : fr("Pas d'images dans la table"));
    if (!error.isEmpty()) {
        error.replace(QLatin1Char('\n'), QLatin1Char(' '));
        throw PictureFailure{last + QStringLiteral(" (error : ") + error + QLatin1Char(')')};
    }
    return last;
}

MaintenanceResult Runner::run(const QString& scriptFile, bool backUp)
{
    if (!QFileInfo::exists(scriptFile))
        return MaintenanceResult::failure(fr("Le script « %1 » est introuvable.").arg(scriptFile));
    const QStringList lines = readTextLines(scriptFile);
    const int maximum = std::max(1, int(lines.size()) - 1);
    int position = 1;
    const auto show = [this, &position, maximum](const QString& title) {
        if (m_c.progress)
            m_c.progress(title, position, maximum);
    };
    show(texts::updateProgressTitle());

    if (backUp && m_c.askBackup && m_c.askBackup()) {
        show(texts::updateBackupTitle());
        QDir().mkpath(m_c.dataFolder + QStringLiteral("Backup/Maj"));
        const QString source =
            m_c.databaseFolder + QStringLiteral("Access/") + m_c.databaseFileName;
        const QString name = m_c.databaseFileName.left(m_c.databaseFileName.size() - 4).toUpper() +
                             QStringLiteral("_ACCESS_BACKUP_MAJ_") +
                             Clock::now().toString(QStringLiteral("ddMMyyyyhhmmss")) +
                             QStringLiteral(".bkp");
        m_db.close();
        // The file being copied is named while the copy is made.
        show(source);
        const MaintenanceResult copy =
            compactDatabaseFile(source, m_c.dataFolder + QStringLiteral("Backup/Maj/") + name);
        m_db.reopen();
        if (!copy.ok)
            return copy;
    }
    show(texts::updateProgressTitle());
    if (m_c.progressText)
        m_c.progressText(texts::updatePreparing());

    for (int i = 0; i < lines.size(); ++i) {
        ++position;
        show(texts::updateProgressTitle());
        const QString& line = lines.at(i);
        if (line.startsWith(QStringLiteral("//"))) {
            log(line.mid(2));
            continue;
        }
        const Command command = commandOf(line);
        if (command == Command::None)
            continue;
        if (command <= Command::TableEmpty) {
            if (m_c.progressText)
                m_c.progressText(texts::updateTesting());
            bool runs = true;
            try {
                runs = holds(command, line);
            } catch (const DbError& e) {
                log(fr("*** Condition impossible à évaluer : ") + line.trimmed() +
                    resultText(e.message()));
                return MaintenanceResult::failure(
                    fr("La mise à jour s'est arrêtée à la ligne %1 du script « %2 » : %3")
                        .arg(i + 1)
                        .arg(scriptFile, e.message()));
            }
            if (!runs) {
                log(fr("*** Mise à jour déjà effectuée ***"));
                int end = i + 1;
                while (end < lines.size() && lines.at(end).left(3).compare(
                                                 QStringLiteral("END"), Qt::CaseInsensitive) != 0)
                    ++end;
                i = end;
            }
            continue;
        }
        if (command == Command::CompactDataBase) {
            QString logged = texts::updateCompacting();
            QString error;
            try {
                logged = compact();
            } catch (const DbError& e) {
                error = e.message();
            }
            log(logged + resultText(error));
            continue;
        }
        if (m_c.progressText)
            m_c.progressText(texts::updateRunning());
        QString logged;
        QString error;
        // Each action in a transaction of its own: all of it or none.
        if (command >= Command::ExtractImageToJpeg &&
            command <= Command::ConvertBitmapToJpegInDataBase) {
            // The picture commands log their own lines, the last one empty
            // on success.
            try {
                Transaction transaction(m_db);
                const QString last = pictures(command, line);
                transaction.commit();
                log(last);
            } catch (const PictureFailure& failure) {
                log(failure.line);
            } catch (const DbError& e) {
                log(QStringLiteral(" (error : ") + e.message() + QLatin1Char(')'));
            }
            continue;
        }
        try {
            Transaction transaction(m_db);
            logged = action(command, line, &logged);
            transaction.commit();
        } catch (const DbError& e) {
            error = e.message();
            if (logged.isEmpty())
                logged = line.trimmed();
        }
        log(logged + resultText(error));
    }
    log(QStringLiteral("********************* MISE A JOUR TERMINE *********************"));
    log(QString());
    if (backUp)
        QFile::remove(scriptFile);
    return {};
}

MaintenanceResult runUpdateScript(const UpdateScriptContext& context, const QString& scriptFile,
                                  bool backUp)
{
    Runner runner(context);
    return runner.run(scriptFile, backUp);
}

} // namespace tav
