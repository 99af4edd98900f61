#include "output/HtmlBooklet.h"

#include "core/TextRoutines.h"
#include "media/BitmapRoutines.h"
#include "media/JpegFile.h" // compressToJpeg
#include "media/PackedFile.h"
#include "media/Thumbnail.h"
#include "output/HtmlBookletMarkup.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace tav {

namespace {

using html::escaped;
using html::number;
using html::Page;
using html::withDetail;

const QString kHeadTitle = QStringLiteral("Fiche de santé");
const QString kPopupOptions = QStringLiteral(
    "toolbar=no,location=no,directories=no,status=no,menubar=no,scrollbars=yes,resizable=yes");

// Writes under a temporary name, then renames: a file is whole or absent.
// The working folder is rebuilt by every command, so nothing waits for the
// disk to confirm the write, as a lasting file would.
bool finishWorkingFile(const QString& part, const QString& path)
{
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    QFile::remove(part);
    return false;
}

QString unwrittenMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("Impossible d'écrire le fichier « %1 » : %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   file.write(bytes) == bytes.size() && file.flush();
    const QString reason = file.errorString();
    file.close();
    if (written && file.error() == QFileDevice::NoError && finishWorkingFile(part, path))
        return true;
    QFile::remove(part);
    if (error)
        *error = unwrittenMessage(path, reason);
    return false;
}

bool copyWorkingFile(const QString& source, const QString& path)
{
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    return QFile::copy(source, part) && finishWorkingFile(part, path);
}

// A picture of the page as JPEG at the given quality; false with the
// reason when it cannot be written.
bool writePicture(const QImage& picture, const QString& path, int quality, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(picture)) {
        if (error)
            *error = unwrittenMessage(path, writer.errorString());
        return false;
    }
    return writeFile(path, bytes, error);
}

bool writePage(const QString& path, const QString& text, QString* error)
{
    return writeFile(path, html::windows1252(text), error);
}

// The folder must be one that can be written, even by an administrator for
// whom the system would ignore a read-only mark.
QString unwritableReason(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return QStringLiteral("Le dossier « %1 » ne peut pas être créé.")
            .arg(QDir::toNativeSeparators(folder));
    if (!(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable())
        return QStringLiteral("Le dossier « %1 » est en lecture seule : la page ne peut pas "
                              "y être écrite.")
            .arg(QDir::toNativeSeparators(folder));
    return {};
}

QString beginWorkingFolder(const QString& htmlFolder)
{
    const QString reason = unwritableReason(htmlFolder);
    if (reason.isEmpty())
        clearHtmlFolder(htmlFolder);
    return reason;
}

// A 24-bit picture on white, whatever the source's format.
QImage onWhite(const QImage& source)
{
    if (!source.hasAlphaChannel())
        return source.convertToFormat(QImage::Format_RGB888);
    QImage out(source.size(), QImage::Format_RGB888);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, source);
    painter.end();
    return out;
}

QString money(double value, const QString& symbol)
{
    return number(value, 2) + symbol;
}

void historyRow(Page& page, const QStringList& values, const QList<int>& widths,
                int rightAligned = -1)
{
    page.beginRow();
    for (qsizetype i = 0; i < values.size(); ++i)
        page.dataCell(values.at(i), i == rightAligned ? QStringLiteral("right") : QString(), true,
                      0, widths.value(i) == 1);
    page.endRow();
}

void historyHeader(Page& page, const QStringList& captions, const QList<int>& widths,
                   int rightAligned = -1)
{
    page.beginRow();
    for (qsizetype i = 0; i < captions.size(); ++i)
        page.headerCell(captions.at(i), widths.value(i),
                        i == rightAligned ? QStringLiteral("right") : QString());
    page.endRow();
}

void actTable(Page& page, const QVector<BookletAct>& acts, bool consult, const QString& fifth,
              const QString& symbol)
{
    page.beginTable();
    if (consult)
        historyHeader(page,
                      {QStringLiteral("Date"), QStringLiteral("heure"), QStringLiteral("Montant"),
                       QStringLiteral("Praticien"), fifth, QStringLiteral("Gravité"),
                       QStringLiteral("Remboursement")},
                      {1, 1, 1, 20, 20, 15, 10}, 6);
    else
        historyHeader(page,
                      {QStringLiteral("Date"), QStringLiteral("heure"), QStringLiteral("Montant"),
                       QStringLiteral("Pharmacie"), QStringLiteral("Médicaments"),
                       QStringLiteral("Remboursement")},
                      {1, 1, 1, 20, 20, 10}, 5);
    for (const BookletAct& a : acts) {
        QStringList values{escaped(a.date), escaped(a.time), escaped(money(a.price, symbol)),
                           escaped(withDetail(a.party, a.partyDetail)),
                           escaped(withDetail(a.subject, a.subjectDetail))};
        if (consult)
            values << escaped(a.gravity);
        values << escaped(a.repaymentDate) + QStringLiteral("&nbsp;&nbsp;") +
                      escaped(money(a.repaymentPrice, symbol));
        historyRow(page, values,
                   consult ? QList<int>{1, 1, 1, 20, 20, 15, 10} : QList<int>{1, 1, 1, 20, 20, 10},
                   consult ? 6 : 5);
    }
    page.endTable();
}

// The chart picture of a measure section, or a line saying why there is none.
void chartPicture(Page& page, const BookletData& data, MeasureKind kind, const QString& folder,
                  const HtmlOutputOptions& options, HtmlResult& result)
{
    const QString name =
        kind == MeasureKind::Weight ? QStringLiteral("weight.bmp") : QStringLiteral("size.bmp");
    QImage chart;
    // Drawn in the mode stored for the animal, as its page and the printed
    // booklet draw it.
    const CurveMode mode = curveModeFromStored(kind == MeasureKind::Weight ? data.animal.weightMode
                                                                           : data.animal.sizeMode);
    if (options.chart)
        chart = options.chart(data.animal.id, kind, mode, kChartPictureSize);
    QString error;
    if (!chart.isNull() && writeFile(folder + name, bmpFile(onWhite(chart)), &error)) {
        page.beginTable();
        page.line(QStringLiteral("<tr><td align=\"center\" bgcolor=\"#F4F4F4\"><img src=\"") +
                  name + QStringLiteral("\" width=\"") +
                  QString::number(kChartPictureSize.width()) + QStringLiteral("\" height=\"") +
                  QString::number(kChartPictureSize.height()) +
                  QStringLiteral("\" border=\"1\"></td></tr>"));
        page.endTable();
        return;
    }
    page.emptySection(QStringLiteral("Courbe indisponible"));
    result.problems << (error.isEmpty()
                            ? QStringLiteral("La courbe « %1 » n'a pas pu être dessinée.").arg(name)
                            : error);
}

void measureSection(Page& page, const BookletData& data, MeasureKind kind, const QString& folder,
                    const HtmlOutputOptions& options, HtmlResult& result)
{
    const bool weight = kind == MeasureKind::Weight;
    const QVector<BookletMeasure>& rows = weight ? data.weights : data.sizes;
    page.comment(weight ? QStringLiteral("POIDS") : QStringLiteral("TAILLE"));
    page.sectionTitle(weight ? QStringLiteral("P O I D S") : QStringLiteral("T A I L L E"));
    if (rows.isEmpty()) {
        page.emptySection(QStringLiteral("AUCUNE MESURE"));
        return;
    }
    page.beginTable();
    historyHeader(
        page, {QStringLiteral("Date"), QStringLiteral("Valeur"), QStringLiteral("Observations")},
        {1, 15, 85});
    const QString unit = weight ? QStringLiteral(" kg") : QStringLiteral(" cm");
    for (const BookletMeasure& m : rows)
        historyRow(
            page,
            {escaped(m.date), escaped(number(m.value, weight ? 3 : 2) + unit), escaped(m.remark)},
            {1, 15, 85}, 1);
    page.endTable();
    chartPicture(page, data, kind, folder, options, result);
}

void generalSection(Page& page, const BookletData& data, const QString& folder,
                    const HtmlOutputOptions& options, HtmlResult& result)
{
    const BookletAnimal& a = data.animal;
    // The photo, or the silhouette when there is none or it cannot be read.
    QImage photo;
    if (!a.photo.isEmpty() && !photo.loadFromData(a.photo))
        result.problems << QStringLiteral("La photo de l'animal est illisible.");
    if (photo.isNull())
        photo = options.silhouette;
    QImage face;
    bool faceWritten = false;
    if (!photo.isNull() && fitPictureInBox(face, onWhite(photo), 120, 120)) {
        QString error;
        faceWritten = writePicture(face, folder + QStringLiteral("face.jpg"), 100, &error);
        if (!faceWritten)
            result.problems << error;
    }

    page.comment(QStringLiteral("INFORMATIONS GENERALES"));
    page.sectionTitle(QStringLiteral("INFORMATIONS\u00A0GENERALES"));
    page.line(QStringLiteral("<table width=\"100%\" border=\"0\" cellspacing=\"0\" "
                             "cellpadding=\"0\"><tr>"));
    page.line(QStringLiteral("<td width=\"124\" valign=\"top\" align=\"center\">"));
    page.line(QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"1\" "
                             "bgcolor=\"#DFDFDF\"><tr><td>") +
              (faceWritten ? QStringLiteral("<img src=\"face.jpg\" width=\"120\" height=\"120\">")
                           : QStringLiteral("&nbsp;")) +
              QStringLiteral("</td></tr></table>"));
    page.line(QStringLiteral("</td>"));
    page.line(QStringLiteral("<td valign=\"top\">"));
    page.beginTable();
    page.headerRow({QStringLiteral("Nom"), QStringLiteral("Espèce"), QStringLiteral("Race")},
                   {33, 33, 33});
    page.identityRow({a.name, a.species, a.breed});
    page.endTable();
    page.beginTable();
    page.headerRow({QStringLiteral("Sexe"), QStringLiteral("Couleur"), QStringLiteral("Pédigré"),
                    QStringLiteral("Stérilisé")},
                   {35, 35, 15, 15});
    page.beginRow();
    page.dataCell(QStringLiteral("&nbsp;") + escaped(a.sex));
    page.dataCell(QStringLiteral("&nbsp;") + escaped(a.colour));
    page.dataCell(a.pedigree ? QStringLiteral("oui") : QStringLiteral("non"),
                  QStringLiteral("center"));
    page.dataCell(a.sterilized ? QStringLiteral("oui") : QStringLiteral("non"),
                  QStringLiteral("center"));
    page.endRow();
    page.endTable();
    page.beginTable();
    page.headerRow({QStringLiteral("N° d'identification"), QStringLiteral("Type"),
                    QStringLiteral("Emplacement")},
                   {33, 33, 33});
    page.identityRow({a.identificationNo, a.identificationType, a.identificationLocation});
    page.endTable();
    page.line(QStringLiteral("</td>"));
    page.line(QStringLiteral("</tr></table>"));

    page.beginTable();
    page.headerRow({QStringLiteral("Description"), QStringLiteral("Comportement")}, {50, 50});
    page.identityRow({a.description, a.comportment});
    page.endTable();

    struct Dated
    {
        QString dateCaption;
        QString date;
        double weight;
        double size;
        QString lastCaption;
        QString last;
    };
    const Dated dated[] = {{QStringLiteral("Date de naissance"), a.birthDate, a.birthWeight,
                            a.birthSize, QStringLiteral("Lieu"), a.birthCity},
                           {QStringLiteral("Date d'arrivé"), a.beginDate, a.beginWeight,
                            a.beginSize, QStringLiteral("Eleveur"), a.beginBreeder},
                           {QStringLiteral("Date de départ"), a.endDate, a.endWeight, a.endSize,
                            QStringLiteral("Type"), a.endType}};
    for (const Dated& d : dated) {
        // A date left blank in its mask ("  /  /    ") is no date.
        if (!std::any_of(d.date.cbegin(), d.date.cend(), [](QChar c) { return c.isDigit(); }))
            continue;
        page.beginTable();
        page.headerRow(
            {d.dateCaption, QStringLiteral("Poids"), QStringLiteral("Taille"), d.lastCaption},
            {25, 20, 20, 35});
        page.identityRow({d.date, number(d.weight, 3) + QStringLiteral(" Kg"),
                          number(d.size, 2) + QStringLiteral(" cm"), d.last});
        page.endTable();
    }

    page.beginTable();
    page.headerRow({QStringLiteral("Antécédants"), QStringLiteral("Assurance")}, {50, 50});
    page.identityRow({a.previous, a.insurance});
    page.endTable();
}

void customSection(Page& page, const BookletData& data)
{
    page.comment(QStringLiteral("INFORMATIONS PERSONNALISEES"));
    page.sectionTitle(QStringLiteral("INFORMATIONS PERSONNALISEES"));
    const QStringList& labels = data.customLabels;
    const QStringList& values = data.animal.misc;
    for (int i = 0; i < 10; i += 2) {
        page.beginTable();
        page.headerRow({labels.value(i), labels.value(i + 1)}, {50, 50});
        page.identityRow({values.value(i), values.value(i + 1)});
        page.endTable();
    }
    for (int i = 10; i < 12; ++i) {
        page.beginTable();
        page.headerRow({labels.value(i)}, {20});
        page.identityRow({values.value(i)});
        page.endTable();
    }
}

void vaccineSection(Page& page, const BookletData& data)
{
    page.comment(QStringLiteral("VACCINS"));
    page.sectionTitle(QStringLiteral("VACCINS"));
    if (data.vaccinations.isEmpty()) {
        page.emptySection(QStringLiteral("AUCUNE VACCINATION"));
        return;
    }
    page.beginTable();
    historyHeader(page,
                  {QStringLiteral("Date de vaccination"), QStringLiteral("Date de rappel"),
                   QStringLiteral("Vaccin"), QStringLiteral("Praticien"),
                   QStringLiteral("Observations")},
                  {1, 1, 20, 20, 20});
    for (const BookletVaccination& v : data.vaccinations)
        historyRow(page,
                   {escaped(v.date), escaped(v.repeatDate),
                    escaped(withDetail(v.vaccine, v.vaccineCategory)),
                    escaped(withDetail(v.doctor, v.doctorCategory)), escaped(v.remark)},
                   {1, 1, 20, 20, 20});
    page.endTable();
}

void eventSection(Page& page, const BookletData& data)
{
    page.comment(QStringLiteral("EVENEMENTS"));
    page.sectionTitle(QStringLiteral("EVENEMENTS"));
    if (data.events.isEmpty()) {
        page.emptySection(QStringLiteral("AUCUN EVENEMENT"));
        return;
    }
    page.beginTable();
    historyHeader(page, {QStringLiteral("Date"), QStringLiteral("Description")}, {1, 100});
    for (const BookletEvent& e : data.events)
        historyRow(page, {escaped(e.date), escaped(e.description)}, {1, 100});
    page.endTable();
}

// A link target: the bare name, percent-encoded so that a "#", "?" or "%"
// in it stays part of the name.
QString linkTarget(const QString& fileName)
{
    return escaped(QString::fromLatin1(QUrl::toPercentEncoding(fileName)));
}

void fileSection(Page& page, const BookletData& data, const QString& folder,
                 const HtmlOutputOptions& options, HtmlResult& result)
{
    page.comment(QStringLiteral("DOCUMENTS FICHIERS"));
    page.documentTitleBar(QStringLiteral("DOCUMENT(S) FICHIER(S)"));
    if (data.files.isEmpty()) {
        page.noDocument(QStringLiteral("Pas de document \"fichier\""));
        return;
    }
    page.beginTable();
    page.beginRow();
    page.lightHeaderCell(QString(), 1);
    page.lightHeaderCell(QStringLiteral("Nom"), 50);
    page.lightHeaderCell(QStringLiteral("Type"), 35);
    page.lightHeaderCell(QStringLiteral("Taille"), 15);
    page.endRow();
    QStringList taken;
    for (const BookletFile& f : data.files) {
        const QString id = QString::number(f.id);
        const QString iconName = QStringLiteral("FileIcon") + id + QStringLiteral(".jpg");
        QImage icon;
        if (f.icon.isEmpty() || !icon.loadFromData(f.icon))
            makeBlankBitmap(icon, 32, 32, Qt::white);
        QByteArray jpeg;
        QString error;
        const bool iconWritten =
            compressToJpeg(onWhite(icon), jpeg) && writeFile(folder + iconName, jpeg, &error);

        const QString name = attachedFileName(f.fileName, f.id, taken);
        taken << name;
        const QString archive = trailingSeparator(options.databaseFolder) +
                                QStringLiteral("Files/File") + id + QStringLiteral(".f");
        QString link;
        if (!QFileInfo::exists(archive)) {
            link = escaped(f.fileName) + QStringLiteral(" (fichier introuvable)");
            result.problems
                << QStringLiteral("Le fichier joint « %1 » est introuvable.").arg(f.fileName);
        } else if (const CabinetResult unpacked = unpackFile(archive, folder + name);
                   !unpacked.ok) {
            link = escaped(f.fileName) + QStringLiteral(" (fichier illisible)");
            result.problems << unpacked.error;
        } else {
            link = QStringLiteral("<a href=\"") + linkTarget(name) + QStringLiteral("\">") +
                   escaped(f.fileName) + QStringLiteral("</a>");
        }
        page.beginRow();
        page.line(QStringLiteral("<td width=\"1%\" valign=\"top\">") +
                  (iconWritten ? QStringLiteral("<img src=\"") + iconName +
                                     QStringLiteral("\" width=\"16\" height=\"16\">")
                               : QStringLiteral("&nbsp;")) +
                  QStringLiteral("</td>"));
        page.lightDataCell(link);
        page.lightDataCell(escaped(f.fileType));
        page.lightDataCell(escaped(f.fileSize));
        page.endRow();
    }
    page.endTable();
}

// The thumbnail, full-size copy and one-picture page of an image document.
// True when the page exists, so that the thumbnail may link to it.
struct ExportedImage
{
    bool popup = false;
    QString problem; // shown under the title
};

ExportedImage exportImage(const BookletImage& image, const QString& folder,
                          const HtmlOutputOptions& options, HtmlResult& result)
{
    ExportedImage out;
    const QString id = QString::number(image.id);
    QImage thumbnail;
    if (!image.thumbnail.isEmpty() && !thumbnail.loadFromData(image.thumbnail)) {
        out.problem = QStringLiteral("miniature illisible");
        result.problems
            << QStringLiteral("La miniature du document « %1 » est illisible.").arg(image.title);
    }
    if (!thumbnail.isNull()) {
        const QString picture = trailingSeparator(options.databaseFolder) +
                                QStringLiteral("Images/Doc") + id + QStringLiteral(".jpg");
        const QString copy = QStringLiteral("docfullsize") + id + QStringLiteral(".jpg");
        if (!QFileInfo::exists(picture)) {
            out.problem = QStringLiteral("image introuvable");
            result.problems
                << QStringLiteral("L'image du document « %1 » est introuvable.").arg(image.title);
        } else {
            // An existing copy is kept: the picture file it came from is the
            // same one.
            const bool copied =
                QFileInfo::exists(folder + copy) || copyWorkingFile(picture, folder + copy);
            QString error;
            out.popup =
                copied && writePage(folder + QStringLiteral("doc") + id + QStringLiteral(".htm"),
                                    html::picturePage(image.title, copy), &error);
            if (!out.popup) {
                out.problem = QStringLiteral("image non copiée");
                result.problems << (error.isEmpty()
                                        ? QStringLiteral("L'image du document « %1 » n'a pas "
                                                         "pu être copiée.")
                                              .arg(image.title)
                                        : error);
            }
        }
    }
    if (thumbnail.isNull())
        makeBlankBitmap(thumbnail, 10, 10, Qt::white);
    QString error;
    if (!writePicture(onWhite(thumbnail),
                      folder + QStringLiteral("doc") + id + QStringLiteral(".jpg"), 100, &error))
        result.problems << error;
    return out;
}

void imageSection(Page& page, const BookletData& data, const QString& folder,
                  const HtmlOutputOptions& options, HtmlResult& result)
{
    page.comment(QStringLiteral("DOCUMENTS IMAGES"));
    page.documentTitleBar(QStringLiteral("DOCUMENT(S) IMAGE(S)"));
    if (data.images.isEmpty()) {
        page.noDocument(QStringLiteral("Pas de document \"image\" "));
        return;
    }
    for (qsizetype first = 0; first < data.images.size(); first += 4) {
        const qsizetype count = qMin<qsizetype>(4, data.images.size() - first);
        QVector<ExportedImage> exported;
        for (qsizetype i = 0; i < count; ++i)
            exported << exportImage(data.images.at(first + i), folder, options, result);
        page.beginTable();
        page.beginRow();
        for (qsizetype i = 0; i < 4; ++i) {
            if (i >= count) {
                page.line(QStringLiteral("<td width=\"25%\">&nbsp;</td>"));
                continue;
            }
            const QString id = QString::number(data.images.at(first + i).id);
            const QString picture = QStringLiteral("<img src=\"doc") + id +
                                    QStringLiteral(".jpg\" width=\"90\" height=\"90\" "
                                                   "border=\"1\" hspace=\"3\" vspace=\"3\">");
            if (exported.at(i).popup)
                page.line(QStringLiteral("<td width=\"25%\" align=\"center\"><a "
                                         "href=\"javascript:centerwindow(&quot;doc") +
                          id + QStringLiteral(".htm&quot;,600,500,&quot;") + kPopupOptions +
                          QStringLiteral("&quot;)\">") + picture + QStringLiteral("</a></td>"));
            else
                page.line(QStringLiteral("<td width=\"25%\" align=\"center\">") + picture +
                          QStringLiteral("</td>"));
        }
        page.endRow();
        page.beginRow();
        for (qsizetype i = 0; i < 4; ++i) {
            if (i >= count) {
                page.line(QStringLiteral("<td width=\"25%\">&nbsp;</td>"));
                continue;
            }
            const ExportedImage& e = exported.at(i);
            page.line(QStringLiteral("<td width=\"25%\" align=\"center\"><font face=\"Arial\" "
                                     "size=\"1\">") +
                      escaped(data.images.at(first + i).title) +
                      (e.problem.isEmpty()
                           ? QString()
                           : QStringLiteral("<br>(") + escaped(e.problem) + QLatin1Char(')')) +
                      QStringLiteral("</font></td>"));
        }
        page.endRow();
        page.endTable();
    }
}

void actSection(Page& page, const QString& title, const QVector<BookletAct>& acts, bool consult,
                const QString& fifth, const QString& symbol)
{
    page.sectionTitle(title);
    if (acts.isEmpty()) {
        page.emptySection(consult ? QStringLiteral("AUCUN ACTE")
                                  : QStringLiteral("AUCUN MEDICAMENT"));
        return;
    }
    actTable(page, acts, consult, fifth, symbol);
}

const QRegularExpression& generatedName()
{
    // The booklet's own pages and pictures: an attached file may not take
    // one of these names.
    static const QRegularExpression re(
        QStringLiteral("^(index\\.htm|face\\.jpg|weight\\.bmp|size\\.bmp|img\\.bmp|"
                       "doc\\d+\\.(jpg|htm)|docfullsize\\d+\\.jpg|fileicon\\d+\\.jpg)$"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

} // namespace

QString prepareHtmlFolders(const QString& dataFolder, QString* error)
{
    const QString folder = trailingSeparator(dataFolder) + QStringLiteral("Html/Temp/");
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("Le dossier « %1 » ne peut pas être créé.")
                         .arg(QDir::toNativeSeparators(folder));
        return {};
    }
    return folder;
}

void clearHtmlFolder(const QString& folder)
{
    QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.htm")},
                      QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        dir.remove(name);
}

QString attachedFileName(const QString& storedName, int id, const QStringList& taken)
{
    QString name = storedName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    name = fileNameSafe(name).trimmed();
    // Leading dots would hide the file or, alone, name a folder.
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    const QString prefix = QStringLiteral("File") + QString::number(id);
    if (name.isEmpty())
        return prefix;
    if (generatedName().match(name).hasMatch() || taken.contains(name, Qt::CaseInsensitive))
        return prefix + QLatin1Char('_') + name;
    return name;
}

HtmlResult writeBookletPage(const BookletData& data, const QString& htmlFolder,
                            const HtmlOutputOptions& options)
{
    HtmlResult result;
    const QString folder = trailingSeparator(htmlFolder);
    result.error = beginWorkingFolder(folder);
    if (!result.error.isEmpty()) {
        result.ok = false;
        return result;
    }
    const QString& symbol = options.currencySymbol;
    Page page;
    page.open(kHeadTitle);
    generalSection(page, data, folder, options, result);
    page.separator();
    measureSection(page, data, MeasureKind::Weight, folder, options, result);
    page.separator();
    measureSection(page, data, MeasureKind::Size, folder, options, result);
    page.separator();
    customSection(page, data);
    page.separator();
    page.comment(QStringLiteral("ACTES"));
    actSection(page, QStringLiteral("ACTES"), data.consultations, true, QStringLiteral("Maladie"),
               symbol);
    page.separator();
    page.comment(QStringLiteral("MEDICAMENTS"));
    actSection(page, QStringLiteral("MEDICAMENTS"), data.medicines, false, QString(), symbol);
    page.separator();
    vaccineSection(page, data);
    page.separator();
    eventSection(page, data);
    page.separator();
    fileSection(page, data, folder, options, result);
    page.separator();
    imageSection(page, data, folder, options, result);
    page.separator();
    page.close(options.makerName, options.webSite);

    const QString index = folder + QStringLiteral("index.htm");
    if (!writePage(index, page.text(), &result.error)) {
        result.ok = false;
        return result;
    }
    result.pagePath = index;
    return result;
}

HtmlResult writeTablesPage(const TablesPageData& data, const QString& htmlFolder,
                           const HtmlOutputOptions& options)
{
    HtmlResult result;
    const QString folder = trailingSeparator(htmlFolder);
    result.error = beginWorkingFolder(folder);
    if (!result.error.isEmpty()) {
        result.ok = false;
        return result;
    }
    const QString& symbol = options.currencySymbol;
    Page page;
    page.open(kHeadTitle);
    if (!data.consultTitle.isEmpty())
        actSection(page, data.consultTitle, data.consultations, true, QStringLiteral("Pathologie"),
                   symbol);
    if (!data.medicineTitle.isEmpty()) {
        page.separator();
        actSection(page, data.medicineTitle, data.medicines, false, QString(), symbol);
    }
    if (!data.reminderTitle.isEmpty()) {
        page.separator();
        page.sectionTitle(data.reminderTitle);
        if (data.reminders.isEmpty()) {
            page.emptySection(QStringLiteral("AUCUNE VACCINATION"));
        } else {
            page.beginTable();
            historyHeader(page,
                          {QStringLiteral("Date de rappel"), QStringLiteral("Vaccin"),
                           QStringLiteral("Dernière vaccination")},
                          {20, 40, 40});
            for (const BookletVaccination& v : data.reminders)
                historyRow(page,
                           {escaped(v.repeatDate),
                            escaped(withDetail(v.vaccine, v.vaccineCategory)),
                            escaped(v.date + QStringLiteral(" - ") +
                                    withDetail(v.doctor, v.doctorCategory))},
                           {20, 40, 40});
            page.endTable();
        }
    }
    page.separator();
    page.close(options.makerName, options.webSite);
    const QString index = folder + QStringLiteral("index.htm");
    if (!writePage(index, page.text(), &result.error)) {
        result.ok = false;
        return result;
    }
    result.pagePath = index;
    return result;
}

} // namespace tav
