#include "HtmlPageReader.h"
#include "TestDatabase.h"
#include "TestText.h"

#include "db/HtmlBookletStore.h"
#include "db/ReminderStore.h"
#include "media/BitmapRoutines.h"
#include "media/JpegFile.h"
#include "media/PackedFile.h"
#include "media/Thumbnail.h"
#include "output/HtmlBooklet.h"
#include "output/HtmlBookletMarkup.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

namespace {

QImage filled(int w, int h, const QColor& colour)
{
    QImage image;
    makeBlankBitmap(image, w, h, colour);
    return image;
}

// A booklet in a temporary folder: the database, its Images and Files
// folders, and a data folder holding Html/Temp.
struct Booklet
{
    Booklet()
    {
        QDir(db.folder()).mkpath(QStringLiteral("Images"));
        QDir(db.folder()).mkpath(QStringLiteral("Files"));
        html = prepareHtmlFolders(data.path());
        options.databaseFolder = db.folder();
        options.currencySymbol = u("€");
        options.silhouette = filled(150, 150, QColor(190, 200, 220));
        options.makerName = QStringLiteral("Orvandel");
        options.webSite = QStringLiteral("https://www.orvandel.example");
        options.chart = [this](int animal, MeasureKind kind, CurveMode mode, QSize size) {
            charts << QStringLiteral("%1/%2/%3/%4x%5")
                          .arg(animal)
                          .arg(int(kind))
                          .arg(storedCurveMode(mode))
                          .arg(size.width())
                          .arg(size.height());
            return chartAnswer.isNull() ? chartAnswer : chartAnswer.scaled(size);
        };
    }

    int insert(const QString& sql, const QVariantList& values)
    {
        db.connection.exec(sql, values);
        return int(db.connection.lastInsertId());
    }

    int animal(const QString& name)
    {
        return insert(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {name});
    }

    void set(int animal, const QString& column, const QVariant& value)
    {
        db.connection.exec(QStringLiteral("UPDATE ANIMAL SET ") + column +
                               QStringLiteral("=? WHERE Id=?"),
                           {value, animal});
    }

    int imageDocument(int animal, const QString& title, bool withPicture,
                      const QByteArray& thumbnail = {})
    {
        const QImage picture = filled(300, 200, Qt::darkGreen);
        const QByteArray mini =
            thumbnail.isNull() ? bmpFile(makeThumbnail(picture, 90, 90)) : thumbnail;
        const int id = insert(QStringLiteral("INSERT INTO DOCUMENTIMG (Id_Ref, DoType, Title, "
                                             "ImgMini, Id_File) VALUES (?, 1, ?, ?, 0)"),
                              {animal, title, mini});
        if (withPicture && !writeJpegFile(picture, picturePath(id), 90))
            qFatal("the document's picture cannot be written");
        return id;
    }

    QString picturePath(int id) const
    {
        return db.folder() + QStringLiteral("/Images/Doc") + QString::number(id) +
               QStringLiteral(".jpg");
    }

    int attachedFile(int animal, const QString& fileName, const QByteArray& content)
    {
        const int id = insert(
            QStringLiteral("INSERT INTO DOCUMENTFILE (Id_Ref, DoType, "
                           "FileName, FileType, FileSize, FileIcon, Id_File) "
                           "VALUES (?, 1, ?, ?, ?, ?, 0)"),
            {animal, fileName, u("Document PDF"), u("1 Ko"), bmpFile(filled(32, 32, Qt::red))});
        QTemporaryDir source;
        const QString path = source.filePath(QStringLiteral("content"));
        writeBytes(path, content);
        packFile(path, archivePath(id));
        return id;
    }

    QString archivePath(int id) const
    {
        return db.folder() + QStringLiteral("/Files/File") + QString::number(id) +
               QStringLiteral(".f");
    }

    HtmlResult write(int animal) { return writeBookletPage(store.booklet(animal), html, options); }

    QString file(const QString& name) const { return html + name; }

    TestDatabase db;
    QTemporaryDir data;
    HtmlBookletStore store{db.connection};
    QString html;
    HtmlOutputOptions options;
    QStringList charts;
    QImage chartAnswer = filled(100, 50, Qt::blue);
};

// Médor, whose every section has something to show.
int addMedor(Booklet& b, QVector<int>* images = nullptr, int* fileId = nullptr)
{
    const int species = b.insert(u("INSERT INTO ANIMAL_SPECIES (Title) VALUES ('Chien')"), {});
    const int breed = b.insert(
        u("INSERT INTO ANIMAL_BREED (Id_Species, Title) VALUES (?, 'Labrador')"), {species});
    const int id = b.animal(u("Médor"));
    const std::pair<const char*, QVariant> values[] = {{"Id_Species", species},
                                                       {"Id_Breed", breed},
                                                       {"Sex", u("Mâle")},
                                                       {"Color", u("Sable")},
                                                       {"Pedigree", 1},
                                                       {"Sterilized", 0},
                                                       {"Identification_No", u("250268500123456")},
                                                       {"Identification_Type", u("Puce")},
                                                       {"Identification_Location", u("Cou gauche")},
                                                       {"Description", u("Calme\r\nJoueur")},
                                                       {"Comportment", u("Doux")},
                                                       {"BirthDay_Date", u("02/03/2020")},
                                                       {"BirthDay_Weight", 0.45},
                                                       {"BirthDay_Size", 12},
                                                       {"BirthDay_City", u("Lyon")},
                                                       {"Begin_Date", u("")},
                                                       {"Previous", u("Aucun")},
                                                       {"Insurance", u("Assur'Animaux")},
                                                       {"Misc01", u("Croquettes")},
                                                       {"Misc11", u("Allergique au poulet")}};
    for (const auto& [column, value] : values)
        b.set(id, QString::fromLatin1(column), value);
    b.db.connection.exec(
        u("INSERT INTO CUSTOMLAB (Id_File, Misc01, Misc02, Misc11) VALUES (0, ?, ?, ?)"),
        {u("Nourriture"), u("Vétérinaire"), u("Notes")});
    b.insert(u("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight, Remark) VALUES "
               "(?, '2021-01-10', 12.35, 'Après repas')"),
             {id});
    b.insert(u("INSERT INTO WEIGHT (Id_Ref, Date_Weight) VALUES (?, '2020-06-01')"), {id});
    const int doctor = b.insert(
        u("INSERT INTO LST_DOCTOR (Name, Category) VALUES ('Dr Martin', 'Généraliste')"), {});
    const int illness =
        b.insert(u("INSERT INTO LST_ILLNESS (Title, Gravity) VALUES ('Otite', 'Bénigne')"), {});
    b.insert(u("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness, Date_Action, "
               "Time_Action, Price, Gravity, Repayment, Date_Repayment, Price_Repayment, "
               "Repayment_Comp) VALUES (?, 1, ?, ?, '2021-02-03', '10:30', 45, 'Légère', 1, "
               "'2021-02-10', 30.5, 0)"),
             {id, doctor, illness});
    const int pharmacy =
        b.insert(u("INSERT INTO LST_PHARMACY (Name) VALUES ('Pharmacie du Parc')"), {});
    const int drug =
        b.insert(u("INSERT INTO LST_DRUG (Title, Category) VALUES ('Otomax', 'Gouttes')"), {});
    b.insert(u("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Drug, Date_Action, Time_Action, "
               "Price, Repayment, Repayment_Comp) VALUES (?, 2, ?, ?, '2021-02-03', '11:00', "
               "12.5, 1, 1)"),
             {id, pharmacy, drug});
    const int vaccine =
        b.insert(u("INSERT INTO LST_VACCINE (Title, Category) VALUES ('CHPPiL', 'Rage')"), {});
    b.insert(u("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, Date_Vaccine, Repeat_Date, "
               "Remark1) VALUES (?, ?, ?, '2021-03-01', '2022-03-01', 'RAS')"),
             {id, doctor, vaccine});
    b.insert(u("INSERT INTO EVENT (Id_Ref, Date_Event, Description) VALUES "
               "(?, '2021-04-05', 'Déménagement')"),
             {id});
    const int file = b.attachedFile(id, u("ordonnance.pdf"), QByteArray("%PDF-1.4 contenu"));
    if (fileId)
        *fileId = file;
    for (int i = 1; i <= 5; ++i) {
        const int doc = b.imageDocument(id, u("Radio %1").arg(i), true);
        if (images)
            images->append(doc);
    }
    return id;
}

QStringList sizes(const QString& path)
{
    const QImage image(path);
    return {QString::number(image.width()), QString::number(image.height())};
}

} // namespace

class TestHtmlBooklet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void markupKeepsEveryCharacterAndNumber();
    void attachedFileNamesStayInTheFolder();
    void knownAnimalShowsEverySection();
    void optionalTablesOnlyWhenDated();
    void animalWithoutRowsShowsTheEmptyLines();
    void hostileAndForeignTextsShowAsTyped();
    void eachPageReplacesThePicturesAndPagesOnly();
    void missingOrDamagedFilesStillGiveAPage();
    void readOnlyFolderIsRefusedAndLeftAlone();
    void tablesPageShowsItsSections();
    void everyPageDeclaresItsTypeAndCodePageOnce();
};

void TestHtmlBooklet::initTestCase()
{
    // Numbers must not follow the locale: check it under a French one.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestHtmlBooklet::markupKeepsEveryCharacterAndNumber()
{
    QCOMPARE(html::windows1252(u("€Œœ…é\u00A0Ÿ")), QByteArray("\x80\x8C\x9C\x85\xE9\xA0\x9F"));
    QCOMPARE(html::windows1252(u("Кот 🐶")), QByteArray("&#1050;&#1086;&#1090; &#128054;"));
    // C1 controls would read back as the code page's letters; a lone half
    // of a surrogate pair is no character.
    QCOMPARE(html::windows1252(QString(QChar(0x85)) + QChar(0xD800) + QChar(0x01) +
                               QStringLiteral("\r\n\t")),
             QByteArray("&#65533;&#65533;&#65533;\r\n\t"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b < 0x80 || b >= 0xA0 || !QList<int>{0x81, 0x8D, 0x8F, 0x90, 0x9D}.contains(b))
            if (b >= 0x20 || b == '\r' || b == '\n' || b == '\t')
                all += char(b);
    QCOMPARE(html::windows1252(html::fromWindows1252(all)), all);

    QCOMPARE(html::escaped(u("Tom & Jerry <3 \"l'un\">\r\nbis\nter")),
             u("Tom &amp; Jerry &lt;3 &quot;l&#39;un&quot;&gt;<br>bis<br>ter"));

    QCOMPARE(html::number(12.35, 3), u("12.350"));
    QCOMPARE(html::number(45, 2), u("45.00"));
    QCOMPARE(html::number(2.675, 2), u("2.68"));
    QCOMPARE(html::number(1234567.5, 2), u("1234567.50"));
    QCOMPARE(html::number(-0.5, 2), u("-0.50"));
    QCOMPARE(html::withDetail(u("Otite"), QString()), u("Otite"));
    QCOMPARE(html::withDetail(u("Otite"), u("Bénigne")), u("Otite (Bénigne)"));
}

void TestHtmlBooklet::attachedFileNamesStayInTheFolder()
{
    QCOMPARE(attachedFileName(u("ordonnance.pdf"), 3, {}), u("ordonnance.pdf"));
    QCOMPARE(attachedFileName(u("../../evil.txt"), 3, {}), u("evil.txt"));
    QCOMPARE(attachedFileName(u("C:\\Users\\x\\lettre.doc"), 3, {}), u("lettre.doc"));
    QCOMPARE(attachedFileName(u(".."), 3, {}), u("File3"));
    QCOMPARE(attachedFileName(u(".bashrc"), 3, {}), u("bashrc"));
    QCOMPARE(attachedFileName(u("a\"b<c>:d.pdf"), 3, {}), u("a_b_c__d.pdf"));
    QCOMPARE(attachedFileName(QString(), 3, {}), u("File3"));
    for (const char* reserved : {"index.htm", "INDEX.HTM", "face.jpg", "weight.bmp", "size.bmp",
                                 "doc12.jpg", "Doc12.htm", "docfullsize4.jpg", "FileIcon3.jpg"})
        QCOMPARE(attachedFileName(u(reserved), 3, {}), u("File3_") + u(reserved));
    QCOMPARE(attachedFileName(u("doc.jpg"), 3, {}), u("doc.jpg"));
    QCOMPARE(attachedFileName(u("Lettre.pdf"), 7, {u("lettre.pdf")}), u("File7_Lettre.pdf"));
}

void TestHtmlBooklet::knownAnimalShowsEverySection()
{
    Booklet b;
    QVector<int> images;
    int fileId = 0;
    const int id = addMedor(b, &images, &fileId);
    const HtmlResult result = b.write(id);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY2(result.problems.isEmpty(), qPrintable(result.problems.join(u("\n"))));
    QCOMPARE(result.pagePath, b.file(u("index.htm")));

    const ReadPage page = readPage(result.pagePath);
    QVERIFY(page.ok);
    QCOMPARE(page.title, u("Fiche de santé"));
    QCOMPARE(page.charset, u("windows-1252"));
    QCOMPARE(page.scripts, 1);
    QVERIFY(readBytes(result.pagePath)
                .contains("function centerwindow(page, largeur, hauteur, "
                          "options)"));
    QVERIFY(readBytes(result.pagePath).endsWith("</html>\r\n"));
    QCOMPARE(page.titles(),
             strings({"INFORMATIONS GENERALES", "P O I D S", "T A I L L E",
                      "INFORMATIONS PERSONNALISEES", "ACTES", "MEDICAMENTS", "VACCINS",
                      "EVENEMENTS", "DOCUMENT(S) FICHIER(S)", "DOCUMENT(S) IMAGE(S)"}));

    // Identity.
    QCOMPARE(page.rowsUnder(strings({"Nom", "Espèce", "Race"})),
             QList<QStringList>{strings({"Médor", "Chien", "Labrador"})});
    QCOMPARE(page.headerAttribute(strings({"Nom", "Espèce", "Race"}), u("width")),
             strings({"33%", "33%", "33%"}));
    const QStringList sex = strings({"Sexe", "Couleur", "Pédigré", "Stérilisé"});
    QCOMPARE(page.rowsUnder(sex), QList<QStringList>{strings({"Mâle", "Sable", "oui", "non"})});
    QCOMPARE(page.headerAttribute(sex, u("width")), strings({"35%", "35%", "15%", "15%"}));
    QCOMPARE(page.rowsUnder(strings({"N° d'identification", "Type", "Emplacement"})),
             QList<QStringList>{strings({"250268500123456", "Puce", "Cou gauche"})});
    QCOMPARE(page.rowsUnder(strings({"Description", "Comportement"})),
             QList<QStringList>{strings({"Calme Joueur", "Doux"})});
    QVERIFY(readBytes(result.pagePath).contains("Calme<br>Joueur"));
    QCOMPARE(page.rowsUnder(strings({"Date de naissance", "Poids", "Taille", "Lieu"})),
             QList<QStringList>{strings({"02/03/2020", "0.450 Kg", "12.00 cm", "Lyon"})});
    QCOMPARE(page.rowsUnder(strings({"Antécédants", "Assurance"})),
             QList<QStringList>{strings({"Aucun", "Assur'Animaux"})});
    QVERIFY(page.imageSources().contains(u("face.jpg")));
    QVERIFY(QImage(b.file(u("face.jpg"))).width() <= 120);

    // Weights by date, then their chart; no size, so no size chart.
    const QStringList measure = strings({"Date", "Valeur", "Observations"});
    QCOMPARE(page.rowsUnder(measure),
             (QList<QStringList>{strings({"01/06/2020", "0.000 kg", ""}),
                                 strings({"10/01/2021", "12.350 kg", "Après repas"})}));
    QCOMPARE(page.headerAttribute(measure, u("width")), strings({"1%", "15%", "85%"}));
    QCOMPARE(b.charts.size(), 1);
    QCOMPARE(sizes(b.file(u("weight.bmp"))), strings({"680", "400"}));
    QVERIFY(page.imageSources().contains(u("weight.bmp")));
    QVERIFY(!page.imageSources().contains(u("size.bmp")));
    QVERIFY(page.flow.join(u("\n")).contains(u("T:T A I L L E\nP:AUCUNE MESURE")));

    // Custom fields in pairs, the last two alone.
    QCOMPARE(page.rowsUnder(strings({"Nourriture", "Vétérinaire"})),
             QList<QStringList>{strings({"Croquettes", ""})});
    QCOMPARE(page.rowsUnder(strings({"Notes"})),
             QList<QStringList>{strings({"Allergique au poulet"})});
    QCOMPARE(page.headerAttribute(strings({"Notes"}), u("width")), strings({"20%"}));

    // Histories.
    const QStringList acts =
        strings({"Date", "heure", "Montant", "Praticien", "Maladie", "Gravité", "Remboursement"});
    QCOMPARE(page.rowsUnder(acts),
             QList<QStringList>{strings({"03/02/2021", "10:30", "45.00€", "Dr Martin (Généraliste)",
                                         "Otite (Bénigne)", "Légère", "10/02/2021 30.50€"})});
    QCOMPARE(page.headerAttribute(acts, u("width")),
             strings({"1%", "1%", "1%", "20%", "20%", "15%", "10%"}));
    QCOMPARE(page.headerAttribute(acts, u("align")).last(), u("right"));
    QCOMPARE(page.rowsUnder(strings(
                 {"Date", "heure", "Montant", "Pharmacie", "Médicaments", "Remboursement"})),
             QList<QStringList>{strings({"03/02/2021", "11:00", "12.50€", "Pharmacie du Parc",
                                         "Otomax (Gouttes)", "0.00€"})});
    const QStringList vaccines =
        strings({"Date de vaccination", "Date de rappel", "Vaccin", "Praticien", "Observations"});
    QCOMPARE(page.rowsUnder(vaccines),
             QList<QStringList>{strings(
                 {"01/03/2021", "01/03/2022", "CHPPiL (Rage)", "Dr Martin (Généraliste)", "RAS"})});
    QCOMPARE(page.headerAttribute(vaccines, u("width")),
             strings({"1%", "1%", "20%", "20%", "20%"}));
    QCOMPARE(page.rowsUnder(strings({"Date", "Description"})),
             QList<QStringList>{strings({"05/04/2021", "Déménagement"})});

    // The attached file, unpacked beside the page, with its icon.
    QCOMPARE(page.rowsUnder(strings({"", "Nom", "Type", "Taille"})),
             QList<QStringList>{strings({"", "ordonnance.pdf", "Document PDF", "1 Ko"})});
    QVERIFY(page.linkTargets().contains(u("ordonnance.pdf")));
    QCOMPARE(readBytes(b.file(u("ordonnance.pdf"))), QByteArray("%PDF-1.4 contenu"));
    const QString icon = u("FileIcon%1.jpg").arg(fileId);
    QVERIFY(page.imageSources().contains(icon));
    QCOMPARE(sizes(b.file(icon)), strings({"32", "32"}));

    // Image documents four to a row, each opening its own page.
    for (int doc : std::as_const(images)) {
        const QString n = QString::number(doc);
        QCOMPARE(sizes(b.file(u("doc") + n + u(".jpg"))), strings({"90", "90"}));
        QCOMPARE(readBytes(b.file(u("docfullsize") + n + u(".jpg"))),
                 readBytes(b.picturePath(doc)));
        QVERIFY(page.linkTargets().contains(
            u("javascript:centerwindow(\"doc") + n +
            u(".htm\",600,500,\"toolbar=no,location=no,directories=no,status=no,menubar=no,"
              "scrollbars=yes,resizable=yes\")")));
        const ReadPage popup = readPage(b.file(u("doc") + n + u(".htm")));
        QCOMPARE(popup.imageSources(), QStringList{u("docfullsize") + n + u(".jpg")});
    }
    const QList<QStringList> lastGroup = [&page] {
        for (const QJsonValue& t : page.tables) {
            const QJsonArray rows = t.toObject().value(u("rows")).toArray();
            if (rows.size() == 2 &&
                ReadPage::cellTexts(rows.at(1).toArray()).first() == u("Radio 5"))
                return QList<QStringList>{ReadPage::cellTexts(rows.at(1).toArray())};
        }
        return QList<QStringList>{};
    }();
    QCOMPARE(lastGroup, QList<QStringList>{strings({"Radio 5", "", "", ""})});
    QVERIFY(page.paragraphs.contains(u("Orvandel®, https://www.orvandel.example.")));
}

void TestHtmlBooklet::optionalTablesOnlyWhenDated()
{
    Booklet b;
    const int id = b.animal(u("Rex"));
    b.set(id, u("Begin_Date"), u("15/05/2021"));
    b.set(id, u("Begin_Weight"), 3.2);
    b.set(id, u("Begin_Breeder"), u("Élevage du Lac"));
    b.set(id, u("End_Date"), u("  /  /    "));
    // Ticked then unticked reads "non".
    b.set(id, u("Pedigree"), 1);
    b.set(id, u("Pedigree"), 0);
    const HtmlResult result = b.write(id);
    QVERIFY(result.ok);
    const ReadPage page = readPage(result.pagePath);
    QCOMPARE(page.rowsUnder(strings({"Date d'arrivé", "Poids", "Taille", "Eleveur"})),
             QList<QStringList>{strings({"15/05/2021", "3.200 Kg", "0.00 cm", "Élevage du Lac"})});
    QCOMPARE(
        page.headerAttribute(strings({"Date d'arrivé", "Poids", "Taille", "Eleveur"}), u("width")),
        strings({"25%", "20%", "20%", "35%"}));
    const QString flow = page.flow.join(u("\n"));
    QVERIFY(!flow.contains(u("Date de naissance")));
    QVERIFY(!flow.contains(u("Date de départ")));
    QCOMPARE(page.rowsUnder(strings({"Sexe", "Couleur", "Pédigré", "Stérilisé"})).value(0).value(2),
             u("non"));
}

void TestHtmlBooklet::animalWithoutRowsShowsTheEmptyLines()
{
    Booklet b;
    const int id = b.animal(u("Vide"));
    const HtmlResult result = b.write(id);
    QVERIFY2(result.ok, qPrintable(result.error));
    const ReadPage page = readPage(result.pagePath);
    QCOMPARE(page.paragraphs.mid(0, 10),
             strings({"AUCUNE MESURE", "AUCUNE MESURE", "AUCUN ACTE", "AUCUN MEDICAMENT",
                      "AUCUNE VACCINATION", "AUCUN EVENEMENT", "Pas de document \"fichier\"",
                      "Pas de document \"image\"", "Orvandel®, https://www.orvandel.example."}));
    QVERIFY(b.charts.isEmpty());
    QVERIFY(!QFile::exists(b.file(u("weight.bmp"))));
    QVERIFY(!QFile::exists(b.file(u("size.bmp"))));
    // No photo: the silhouette, fitted into the frame.
    QCOMPARE(sizes(b.file(u("face.jpg"))), strings({"120", "120"}));
    QCOMPARE(page.imageSources(), QStringList{u("face.jpg")});
    // Labels never set: the custom section still has its twelve places.
    const qsizetype custom = page.flow.indexOf(u("T:INFORMATIONS PERSONNALISEES"));
    QVERIFY(custom > 0);
    QCOMPARE(page.flow.mid(custom + 1, 7),
             strings({"H:|", "H:|", "H:|", "H:|", "H:|", "H:", "H:"}));
}

void TestHtmlBooklet::hostileAndForeignTextsShowAsTyped()
{
    Booklet b;
    const int species = b.insert(u("INSERT INTO ANIMAL_SPECIES (Title) VALUES (?)"), {u("Кот 🐈")});
    const int id = b.animal(u("Tom & Jerry <3"));
    b.set(id, u("Id_Species"), species);
    b.set(id, u("Description"), u("<script>alert('x')</script>"));
    b.set(id, u("Color"), u("\"roux\" & blanc"));
    b.insert(u("INSERT INTO EVENT (Id_Ref, Date_Event, Description) VALUES (?, '2022-01-01', ?)"),
             {id, u("<img src=x onerror=alert(1)>")});
    const int doc = b.imageDocument(id, u("</title><script>x</script>"), true);
    const int file = b.attachedFile(id, u("Tom & Jerry <3>.pdf"), QByteArray("x"));
    const HtmlResult result = b.write(id);
    QVERIFY2(result.ok, qPrintable(result.error));

    const QByteArray bytes = readBytes(result.pagePath);
    QVERIFY(bytes.contains("&#1050;&#1086;&#1090; &#128008;"));
    QVERIFY(bytes.contains("Esp\xE8"
                           "ce"));
    QVERIFY(!bytes.contains("\xC3\xA8")); // no UTF-8 left in a Windows-1252 page
    const ReadPage page = readPage(result.pagePath);
    QCOMPARE(page.scripts, 1);
    QCOMPARE(page.rowsUnder(strings({"Nom", "Espèce", "Race"})),
             QList<QStringList>{strings({"Tom & Jerry <3", "Кот 🐈", ""})});
    QCOMPARE(page.rowsUnder(strings({"Description", "Comportement"})).value(0).value(0),
             u("<script>alert('x')</script>"));
    QCOMPARE(page.rowsUnder(strings({"Sexe", "Couleur", "Pédigré", "Stérilisé"})).value(0).value(1),
             u("\"roux\" & blanc"));
    QCOMPARE(page.rowsUnder(strings({"Date", "Description"})).value(0).value(1),
             u("<img src=x onerror=alert(1)>"));
    QCOMPARE(page.imageSources().filter(u("src=x")), QStringList());
    // The link shows the name as typed and leads to the file written.
    const QString safe = u("Tom & Jerry _3_.pdf");
    QVERIFY(QFile::exists(b.file(safe)));
    QVERIFY(page.linkTargets().contains(u("Tom%20%26%20Jerry%20_3_.pdf")));
    QVERIFY(page.text.contains(u("Tom & Jerry <3>.pdf")));
    Q_UNUSED(file);

    const ReadPage popup = readPage(b.file(u("doc%1.htm").arg(doc)));
    QCOMPARE(popup.title, u("</title><script>x</script>"));
    QCOMPARE(popup.scripts, 0);
}

void TestHtmlBooklet::eachPageReplacesThePicturesAndPagesOnly()
{
    Booklet b;
    const QString outside = b.data.filePath(u("Html/ailleurs.jpg"));
    writeBytes(outside, "keep");
    QDir(b.html).mkpath(u("sous-dossier"));
    writeBytes(b.file(u("sous-dossier/garde.jpg")), "keep");
    writeBytes(b.file(u("notes.txt")), "keep");
    writeBytes(b.file(u("ancien.bmp")), "old");
    writeBytes(b.file(u("ancien.HTM")), "old");

    const int first = b.animal(u("Premier"));
    const int firstDoc = b.imageDocument(first, u("Radio"), true);
    b.attachedFile(first, u("premier.pdf"), QByteArray("1"));
    b.attachedFile(first, u("../../../echappe.txt"), QByteArray("2"));
    b.attachedFile(first, u("index.htm"), QByteArray("not the page"));
    QVERIFY(b.write(first).ok);
    QVERIFY(!QFile::exists(b.file(u("ancien.bmp"))));
    QVERIFY(!QFile::exists(b.file(u("ancien.HTM"))));
    QVERIFY(QFile::exists(b.file(u("echappe.txt"))));
    QVERIFY(!QFile::exists(b.data.filePath(u("echappe.txt"))));
    QVERIFY(readBytes(b.file(u("index.htm"))).startsWith("<!DOCTYPE html>"));
    QVERIFY(QFile::exists(b.file(u("doc%1.htm").arg(firstDoc))));

    const int second = b.animal(u("Second"));
    const int secondDoc = b.imageDocument(second, u("Echo"), true);
    QVERIFY(b.write(second).ok);
    QVERIFY(!QFile::exists(b.file(u("doc%1.jpg").arg(firstDoc))));
    QVERIFY(!QFile::exists(b.file(u("doc%1.htm").arg(firstDoc))));
    QVERIFY(!QFile::exists(b.file(u("docfullsize%1.jpg").arg(firstDoc))));
    QVERIFY(QFile::exists(b.file(u("docfullsize%1.jpg").arg(secondDoc))));
    QVERIFY(readPage(b.file(u("index.htm"))).text.contains(u("Second")));
    // Attached files unpacked for the first animal stay; so does anything
    // that is not a page or a picture, and everything outside the folder.
    QCOMPARE(readBytes(b.file(u("premier.pdf"))), QByteArray("1"));
    QCOMPARE(readBytes(b.file(u("notes.txt"))), QByteArray("keep"));
    QCOMPARE(readBytes(b.file(u("sous-dossier/garde.jpg"))), QByteArray("keep"));
    QCOMPARE(readBytes(outside), QByteArray("keep"));
}

void TestHtmlBooklet::missingOrDamagedFilesStillGiveAPage()
{
    Booklet b;
    const int id = b.animal(u("Abîmé"));
    b.set(id, u("ImgMini1"), QByteArray("not a picture"));
    b.insert(u("INSERT INTO SIZE (Id_Ref, Date_Size, Size) VALUES (?, '2022-01-01', 45)"), {id});
    b.chartAnswer = QImage();
    const int missing = b.imageDocument(id, u("Sans image"), false);
    const int damaged = b.imageDocument(id, u("Miniature abîmée"), true, QByteArray("garbage"));
    const int blank = b.imageDocument(id, u("Sans miniature"), true, QByteArray(""));
    const int broken = b.attachedFile(id, u("casse.pdf"), QByteArray("x"));
    writeBytes(b.archivePath(broken), "MSCF but not really a cabinet");
    const int gone = b.attachedFile(id, u("parti.pdf"), QByteArray("x"));
    QFile::remove(b.archivePath(gone));

    const HtmlResult result = b.write(id);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.problems.size(), 6);
    const ReadPage page = readPage(result.pagePath);
    QCOMPARE(page.rowsUnder(strings({"Date", "Valeur", "Observations"})),
             QList<QStringList>{strings({"01/01/2022", "45.00 cm", ""})});
    QVERIFY(page.paragraphs.contains(u("Courbe indisponible")));
    QVERIFY(!QFile::exists(b.file(u("size.bmp"))));
    // The photo could not be read: the silhouette stands in.
    QCOMPARE(sizes(b.file(u("face.jpg"))), strings({"120", "120"}));

    // A thumbnail without its picture opens nothing; an unreadable or empty
    // thumbnail is a small white square.
    QCOMPARE(page.linkTargets().filter(u("centerwindow")), QStringList());
    QVERIFY(QFile::exists(b.file(u("doc%1.jpg").arg(missing))));
    QVERIFY(!QFile::exists(b.file(u("doc%1.htm").arg(missing))));
    QCOMPARE(sizes(b.file(u("doc%1.jpg").arg(damaged))), strings({"10", "10"}));
    QCOMPARE(sizes(b.file(u("doc%1.jpg").arg(blank))), strings({"10", "10"}));
    QVERIFY(page.text.contains(u("Sans image (image introuvable)")));
    QVERIFY(page.text.contains(u("Miniature abîmée (miniature illisible)")));

    const QList<QStringList> files = page.rowsUnder(strings({"", "Nom", "Type", "Taille"}));
    QCOMPARE(files.size(), 2);
    QCOMPARE(files.at(0).at(1), u("casse.pdf (fichier illisible)"));
    QCOMPARE(files.at(1).at(1), u("parti.pdf (fichier introuvable)"));
    QVERIFY(!QFile::exists(b.file(u("casse.pdf"))));
    QVERIFY(!page.linkTargets().contains(u("casse.pdf")));
}

void TestHtmlBooklet::readOnlyFolderIsRefusedAndLeftAlone()
{
    Booklet b;
    const int id = b.animal(u("Rex"));
    writeBytes(b.file(u("ancien.jpg")), "old");
    QFile::setPermissions(b.html, QFile::ReadOwner | QFile::ExeOwner);
    const HtmlResult result = b.write(id);
    QFile::setPermissions(b.html, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u("lecture seule")), qPrintable(result.error));
    QCOMPARE(readBytes(b.file(u("ancien.jpg"))), QByteArray("old"));
    QVERIFY(!QFile::exists(b.file(u("index.htm"))));

    // A working folder that cannot be made.
    QTemporaryDir other;
    writeBytes(other.filePath(u("Html")), "a file in the way");
    QString error;
    QCOMPARE(prepareHtmlFolders(other.path(), &error), QString());
    QVERIFY(error.contains(u("ne peut pas être créé")));
}

void TestHtmlBooklet::tablesPageShowsItsSections()
{
    Booklet b;
    const int id = addMedor(b);
    const int vaccine = b.insert(u("INSERT INTO LST_VACCINE (Title) VALUES ('Toux')"), {});
    b.insert(u("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date) VALUES "
               "(?, ?, '2021-05-01', '2022-05-01')"),
             {id, vaccine});
    // Renewed: no longer due.
    b.insert(u("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date) VALUES "
               "(?, ?, '2022-05-03', NULL)"),
             {id, vaccine});

    TablesPageData tables;
    tables.consultTitle = u("ACTES NON REMBOURSEES");
    tables.medicineTitle = u("MEDICAMENTS NON REMBOURSES");
    tables.reminderTitle = u("RAPPELS DE VACCINATION");
    tables.consultations = b.store.consultations(id, HtmlBookletStore::Acts::NotReimbursed);
    tables.medicines = b.store.medicines(id, HtmlBookletStore::Acts::NotReimbursed);
    ReminderStore(b.db.connection).refreshVaccineReminders(id);
    tables.reminders = b.store.dueReminders(id);
    HtmlResult result = writeTablesPage(tables, b.html, b.options);
    QVERIFY2(result.ok, qPrintable(result.error));
    ReadPage page = readPage(result.pagePath);
    QCOMPARE(page.titles(), strings({"ACTES NON REMBOURSEES", "MEDICAMENTS NON REMBOURSES",
                                     "RAPPELS DE VACCINATION"}));
    QCOMPARE(page.rowsUnder(strings({"Date", "heure", "Montant", "Praticien", "Pathologie",
                                     "Gravité", "Remboursement"}))
                 .size(),
             1);
    QVERIFY(
        page.flow.join(u("\n")).contains(u("T:MEDICAMENTS NON REMBOURSES\nP:AUCUN MEDICAMENT")));
    const QStringList reminder = strings({"Date de rappel", "Vaccin", "Dernière vaccination"});
    QCOMPARE(page.rowsUnder(reminder),
             QList<QStringList>{
                 strings({"01/03/2022", "CHPPiL (Rage)", "01/03/2021 - Dr Martin (Généraliste)"})});
    QCOMPARE(page.headerAttribute(reminder, u("width")), strings({"20%", "40%", "40%"}));

    // Nothing outstanding: three titles, each with its empty line.
    TablesPageData none;
    none.consultTitle = tables.consultTitle;
    none.medicineTitle = tables.medicineTitle;
    none.reminderTitle = tables.reminderTitle;
    result = writeTablesPage(none, b.html, b.options);
    page = readPage(result.pagePath);
    QCOMPARE(page.flow,
             strings({"T:ACTES NON REMBOURSEES", "P:AUCUN ACTE", "T:MEDICAMENTS NON REMBOURSES",
                      "P:AUCUN MEDICAMENT", "T:RAPPELS DE VACCINATION", "P:AUCUNE VACCINATION",
                      "P:Orvandel®, https://www.orvandel.example."}));

    // One section only: the history of consultations.
    TablesPageData history;
    history.consultTitle = u("HISTORIQUE DES ACTES");
    history.consultations = b.store.consultations(id, HtmlBookletStore::Acts::All);
    result = writeTablesPage(history, b.html, b.options);
    page = readPage(result.pagePath);
    QCOMPARE(page.titles(), QStringList{u("HISTORIQUE DES ACTES")});
}

void TestHtmlBooklet::everyPageDeclaresItsTypeAndCodePageOnce()
{
    Booklet b;
    const int id = addMedor(b);
    b.imageDocument(id, u("Radio"), true);
    QVERIFY(b.write(id).ok);
    QStringList pages = QDir(b.html).entryList({u("*.htm")}, QDir::Files, QDir::Name);
    QVERIFY2(pages.size() >= 2, qPrintable(pages.join(u(", "))));
    const auto check = [](const QString& path) {
        const QByteArray bytes = readBytes(path);
        QVERIFY2(bytes.startsWith("<!DOCTYPE html>\r\n<html>"), qPrintable(path));
        QCOMPARE(bytes.toLower().count("charset"), 1);
        QVERIFY(bytes.contains("<meta charset=\"windows-1252\">"));
    };
    for (const QString& name : std::as_const(pages))
        check(b.html + name);

    TablesPageData tables;
    tables.consultTitle = u("HISTORIQUE DES ACTES");
    const HtmlResult result = writeTablesPage(tables, b.html, b.options);
    QVERIFY(result.ok);
    check(result.pagePath);
}

QTEST_GUILESS_MAIN(TestHtmlBooklet)
#include "tst_htmlbooklet.moc"
