#pragma once

#include <QColor>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QVector>

namespace tav {

// A piece of a text object's content: plain text, a field of a data set,
// a variable, or a value the engine computes.
struct TextPart
{
    enum class Kind { Literal, Field, Variable, Sum, Count, Page, Pages };
    Kind kind = Kind::Literal;
    QString text;    // the literal, or the field or variable name
    QString dataSet; // "frDSConsult" when the reference names one
    QString format;  // "money", a number pattern such as "#0.000 kg", or empty
};

// One object of a band, placed in millimetres from the band's top-left.
struct ReportObject
{
    enum class Kind { Text, Line, Frame, Picture };
    Kind kind = Kind::Text;
    QRectF rect;  // mm
    int line = 0; // in the template, for messages

    // Look
    QString fontFamily;  // empty: the report's
    double fontSize = 0; // points; 0: the report's
    bool bold = false;
    bool italic = false;
    Qt::Alignment align = Qt::AlignLeft;
    bool wrap = false;    // breaks into lines and lets the band grow
    bool stretch = false; // grows with its band
    QColor color = Qt::black;
    QColor fill;           // invalid: none
    bool border = false;   // a frame around a text
    double penWidth = 0.2; // mm, lines and frames

    QVector<TextPart> parts; // Text
    QString pictureName;     // Picture
};

// A horizontal strip of the page, printed once, per row of a data set, or
// on every page.
struct ReportBand
{
    enum class Kind { Title, PageHeader, PageFooter, Band, Header, Data, Footer, Empty };
    Kind kind = Kind::Band;
    QString dataSet;          // Header, Data, Footer, Empty
    double height = 0;        // mm, before growing
    bool repeatHeader = true; // a Header printed again atop each page its rows run on
    bool onFirstPage = true;  // a PageHeader on the first page too
    int line = 0;
    QVector<ReportObject> objects;
};

// A report layout as read from its template file.
struct ReportTemplate
{
    QString name; // the file's name, for messages
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double marginLeft = 15, marginTop = 12, marginRight = 15, marginBottom = 12; // mm
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSize = 9;
    QVector<ReportBand> bands;

    bool hasPicture(const QString& name) const;

    // Reads a template file; on failure returns false with a French message.
    bool load(const QString& path, QString* error);
    // Reads the text of a template; name serves in messages.
    bool parse(const QString& text, const QString& name, QString* error);
};

// The content of a text object split into its parts: "[Name]" is a field
// or a variable, "[frDSConsult.Price:money]" a field of a named data set
// with a format, "[SUM(Price):money]" and "[COUNT]" run over the band's
// data set, "[PAGE]" and "[PAGES]" number the pages, "[[" is a plain "[",
// and "\n" breaks the line. Returns false with a message on a bad reference.
bool parseTextContent(const QString& content, QVector<TextPart>* parts, QString* error);

} // namespace tav
