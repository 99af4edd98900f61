#include "report/ReportEngine.h"

#include "core/Clock.h"
#include "core/FrenchText.h"
#include "core/TextRoutines.h"
#include "db/FieldFormat.h"
#include "report/ReportData.h"
#include "report/ReportMarkers.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

#include <cmath>

namespace tav {

namespace {

constexpr double kUnits = PreparedReport::unitsPerMm;

// A text part with its source found.
struct Resolved
{
    TextPart::Kind kind = TextPart::Kind::Literal;
    QString text; // literal, or the value of a variable
    const ReportDataSet* source = nullptr;
    int field = -1;
    QString format;
    bool followsRow = false; // reads the row being printed, else the first row
};

struct ResolvedObject
{
    const ReportObject* object = nullptr;
    QVector<Resolved> parts;
    int font = -1;
    int picture = -1;
};

struct ResolvedBand
{
    const ReportBand* band = nullptr;
    const ReportDataSet* source = nullptr;
    QVector<ResolvedObject> objects;
};

// Values printed as typed: line breaks of any system become one kind.
QString plainLines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

class Preparer
{
public:
    Preparer(const ReportTemplate& t, const ReportInput& input, PreparedReport& out)
        : m_template(t), m_input(input), m_out(out)
    {}

    bool resolve(QString* error);
    void layout();

private:
    bool resolveObject(const ReportDataSet* bandSource, const ReportObject& object,
                       ResolvedObject* out, QString* error);
    int fontFor(const ReportObject& object);
    int pictureFor(const ReportObject& object);
    QString moneySymbolText() const;
    QString formatValue(const Resolved& part, int row) const;
    QString objectText(const ResolvedObject& object, int row) const;
    QStringList breakLines(const QString& text, const QFont& font, const QFontMetricsF& metrics,
                           double width) const;

    struct Instance
    {
        double height = 0;
        QVector<PreparedItem> items; // at y = 0
    };
    Instance instance(const ResolvedBand& band, int row) const;
    void place(const Instance& instance);
    // Places a band taller than the room left, cut at the page's foot and
    // continued on the next pages, so that no line is lost.
    void placeAcrossPages(Instance instance);
    void newPage();
    bool pageHasContent() const { return m_y > m_contentTop + 0.5; }
    bool fits(double height) const { return m_y + height <= m_bottom + 0.5; }

    const ReportTemplate& m_template;
    const ReportInput& m_input;
    PreparedReport& m_out;
    QVector<ResolvedBand> m_bands;
    QHash<QString, int> m_fontIndex;
    std::vector<QFontMetricsF> m_metrics; // of each font, measured once
    QHash<QString, int> m_pictureIndex;

    QSizeF m_page;
    double m_left = 0, m_top = 0, m_bottom = 0, m_footerHeight = 0;
    double m_y = 0, m_contentTop = 0;
    const ResolvedBand* m_repeatHeader = nullptr;
};

QString Preparer::moneySymbolText() const
{
    QString symbol;
    if (!m_input.variable || !m_input.variable(QStringLiteral("CURRENCYSYMBOL"), &symbol) ||
        symbol.isEmpty())
        symbol = QLocale().currencySymbol(QLocale::CurrencySymbol);
    return moneySymbol(symbol);
}

int Preparer::fontFor(const ReportObject& object)
{
    const QString family = object.fontFamily.isEmpty() ? m_template.fontFamily : object.fontFamily;
    const double points = object.fontSize > 0 ? object.fontSize : m_template.fontSize;
    const QString key = family + QLatin1Char('|') + QString::number(points) +
                        QLatin1Char(object.bold ? 'b' : '-') +
                        QLatin1Char(object.italic ? 'i' : '-');
    const auto it = m_fontIndex.constFind(key);
    if (it != m_fontIndex.cend())
        return it.value();
    QFont font(family);
    // Sized in page units, so that measuring and drawing agree whatever the
    // device's resolution.
    font.setPixelSize(std::max(1, int(std::lround(points * 25.4 / 72.0 * kUnits))));
    font.setBold(object.bold);
    font.setItalic(object.italic);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    m_out.fonts.append(font);
    m_metrics.emplace_back(font);
    const int index = int(m_out.fonts.size()) - 1;
    m_fontIndex.insert(key, index);
    return index;
}

int Preparer::pictureFor(const ReportObject& object)
{
    const QString key = object.pictureName.toLower();
    const auto it = m_pictureIndex.constFind(key);
    if (it != m_pictureIndex.cend())
        return it.value();
    QImage picture = m_input.pictures.value(key);
    int index = -1;
    if (!picture.isNull()) {
        // Kept at 300 dots per inch of its box at most: a photo straight
        // from a camera would otherwise weigh on every page it prints on.
        const QSize most(int(object.rect.width() / 25.4 * 300) + 1,
                         int(object.rect.height() / 25.4 * 300) + 1);
        if (picture.width() > most.width() || picture.height() > most.height())
            picture = picture.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_out.pictures.append(picture);
        index = int(m_out.pictures.size()) - 1;
    }
    m_pictureIndex.insert(key, index);
    return index;
}

bool Preparer::resolveObject(const ReportDataSet* bandSource, const ReportObject& object,
                             ResolvedObject* out, QString* error)
{
    out->object = &object;
    if (object.kind == ReportObject::Kind::Picture) {
        out->picture = pictureFor(object);
        return true;
    }
    if (object.kind != ReportObject::Kind::Text)
        return true;
    out->font = fontFor(object);
    const auto unknownField = [&](const QString& name) {
        *error = fr("Le modèle de rapport « %1 » nomme un champ inconnu : « %2 » (ligne %3).")
                     .arg(m_template.name, name)
                     .arg(object.line);
        return false;
    };
    for (const TextPart& part : object.parts) {
        Resolved r;
        r.kind = part.kind;
        r.text = part.text;
        r.format = part.format;
        if (part.kind == TextPart::Kind::Literal || part.kind == TextPart::Kind::Page ||
            part.kind == TextPart::Kind::Pages) {
            out->parts.append(r);
            continue;
        }
        const ReportDataSet* source = bandSource;
        if (!part.dataSet.isEmpty()) {
            source = m_input.dataSet(part.dataSet);
            if (!source) {
                *error = fr("Le modèle de rapport « %1 » nomme un jeu de données inconnu : « %2 » "
                            "(ligne %3).")
                             .arg(m_template.name, part.dataSet)
                             .arg(object.line);
                return false;
            }
        }
        const QString shownName =
            part.dataSet.isEmpty() ? part.text : part.dataSet + QLatin1Char('.') + part.text;
        if (part.kind == TextPart::Kind::Count || part.kind == TextPart::Kind::Sum) {
            if (!source)
                return unknownField(part.kind == TextPart::Kind::Count ? QStringLiteral("COUNT")
                                                                       : shownName);
            r.source = source;
            if (part.kind == TextPart::Kind::Sum && source->isOpen()) {
                r.field = source->fieldIndex(part.text);
                if (r.field < 0)
                    return unknownField(shownName);
            }
            out->parts.append(r);
            continue;
        }
        // A field of the data set, else a variable, else the engine's date.
        if (source && source->isOpen()) {
            r.field = source->fieldIndex(part.text);
            if (r.field >= 0) {
                r.source = source;
                r.followsRow = source == bandSource;
                out->parts.append(r);
                continue;
            }
        }
        if (!part.dataSet.isEmpty()) {
            // The rows of a closed data set are not known: nothing prints.
            if (source->isOpen())
                return unknownField(shownName);
            r.kind = TextPart::Kind::Literal;
            r.text.clear();
            out->parts.append(r);
            continue;
        }
        QString value;
        const QString upper = part.text.toUpper();
        if (m_input.variable && m_input.variable(part.text, &value)) {
            r.kind = TextPart::Kind::Literal;
            r.text = value;
        } else if (upper == QLatin1String("DATE")) {
            r.kind = TextPart::Kind::Literal;
            r.text = Clock::today().toString(QStringLiteral("dd/MM/yyyy"));
        } else if (upper == QLatin1String("TIME")) {
            r.kind = TextPart::Kind::Literal;
            r.text = Clock::now().time().toString(QStringLiteral("hh:mm"));
        } else if (source && !source->isOpen()) {
            r.kind = TextPart::Kind::Literal;
            r.text.clear();
        } else {
            return unknownField(shownName);
        }
        out->parts.append(r);
    }
    return true;
}

bool Preparer::resolve(QString* error)
{
    for (const ReportBand& band : m_template.bands) {
        ResolvedBand rb;
        rb.band = &band;
        if (!band.dataSet.isEmpty()) {
            rb.source = m_input.dataSet(band.dataSet);
            if (!rb.source) {
                *error = fr("Le modèle de rapport « %1 » nomme un jeu de données inconnu : « %2 » "
                            "(ligne %3).")
                             .arg(m_template.name, band.dataSet)
                             .arg(band.line);
                return false;
            }
        }
        for (const ReportObject& object : band.objects) {
            ResolvedObject ro;
            if (!resolveObject(rb.source, object, &ro, error))
                return false;
            rb.objects.append(ro);
        }
        m_bands.append(rb);
    }
    return true;
}

QString Preparer::formatValue(const Resolved& part, int row) const
{
    const ReportDataSet* source = part.source;
    if (part.kind == TextPart::Kind::Count)
        return QString::number(source->rowCount());
    QVariant value;
    double number = 0;
    if (part.kind == TextPart::Kind::Sum) {
        if (!source->isOpen())
            return QString();
        for (int i = 0; i < source->rowCount(); ++i)
            number += source->value(i, part.field).toDouble();
        value = number;
    } else {
        const int r = part.followsRow ? row : 0;
        if (r < 0 || r >= source->rowCount())
            return QString();
        value = source->value(r, part.field);
        if (part.format.isEmpty())
            return plainLines(source->text(r, part.field));
        if (!value.isValid() || value.isNull())
            return QString();
        number = value.toDouble();
    }
    if (part.format.compare(QLatin1String("money"), Qt::CaseInsensitive) == 0)
        return formatNumber(number, QStringLiteral("#######0.00 ") + moneySymbolText());
    if (part.format.isEmpty())
        return formatNumber(number, QStringLiteral("0.##"));
    return formatNumber(number, part.format);
}

QString Preparer::objectText(const ResolvedObject& object, int row) const
{
    QString text;
    for (const Resolved& part : object.parts) {
        switch (part.kind) {
        case TextPart::Kind::Literal:
            text += part.text;
            break;
        case TextPart::Kind::Page:
            text += kPageMarker;
            break;
        case TextPart::Kind::Pages:
            text += kPagesMarker;
            break;
        default:
            if (part.source)
                text += formatValue(part, row);
            break;
        }
    }
    return text;
}

QStringList Preparer::breakLines(const QString& text, const QFont& font,
                                 const QFontMetricsF& metrics, double width) const
{
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        if (paragraph.size() * metrics.maxWidth() <= width ||
            metrics.horizontalAdvance(paragraph) <= width) {
            lines.append(paragraph);
            continue;
        }
        // One shaping pass per paragraph; a word wider than the box is cut
        // where it no longer fits.
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines.append(trimRight(paragraph.mid(line.textStart(), line.textLength())));
        }
        layout.endLayout();
    }
    return lines;
}

Preparer::Instance Preparer::instance(const ResolvedBand& band, int row) const
{
    Instance result;
    const double designHeight = band.band->height * kUnits;
    double height = designHeight;
    for (const ResolvedObject& ro : band.objects) {
        const ReportObject& object = *ro.object;
        const QRectF rect(object.rect.x() * kUnits, object.rect.y() * kUnits,
                          object.rect.width() * kUnits, object.rect.height() * kUnits);
        PreparedItem item;
        item.rect = rect;
        item.color = object.color;
        item.fill = object.fill;
        item.border = object.border;
        item.pen = object.penWidth * kUnits;
        switch (object.kind) {
        case ReportObject::Kind::Line:
            item.kind = PreparedItem::Kind::Line;
            break;
        case ReportObject::Kind::Frame:
            item.kind = PreparedItem::Kind::Frame;
            break;
        case ReportObject::Kind::Picture:
            item.kind = PreparedItem::Kind::Picture;
            item.picture = ro.picture;
            break;
        case ReportObject::Kind::Text: {
            item.kind = PreparedItem::Kind::Text;
            item.font = ro.font;
            item.align = object.align;
            const QString text = objectText(ro, row);
            item.pageNumbers = text.contains(kPageMarker) || text.contains(kPagesMarker);
            const QFontMetricsF& metrics = m_metrics.at(std::size_t(ro.font));
            const double width = std::max(1.0, rect.width() - 2 * kTextPadX);
            if (object.wrap) {
                item.lines = breakLines(text, m_out.fonts.at(ro.font), metrics, width);
                const double needed =
                    rect.y() + 2 * kTextPadY + metrics.lineSpacing() * item.lines.size();
                height = std::max(height, needed);
            } else {
                // Spaces at a line's end show nothing: "[Name] [ForeName]"
                // without a forename is the name alone.
                for (const QString& line : text.split(QLatin1Char('\n')))
                    item.lines.append(trimRight(line));
                // Only a text too large for its box is clipped: clipping
                // costs every device, a PDF file most. Shaping a text to
                // measure it is the dearest step of all, so a line that
                // cannot overflow, even in its widest letters, is measured
                // only when its alignment needs the width.
                const bool aligned = object.align & (Qt::AlignRight | Qt::AlignHCenter);
                for (const QString& line : std::as_const(item.lines)) {
                    const bool mayOverflow = line.size() * metrics.maxWidth() > width;
                    const double advance =
                        aligned || mayOverflow ? metrics.horizontalAdvance(line) : -1;
                    item.widths.append(advance);
                    item.clip = item.clip || advance > width + 0.5;
                }
                item.clip =
                    item.clip || metrics.lineSpacing() * item.lines.size() > rect.height() + 0.5;
            }
            break;
        }
        }
        result.items.append(item);
    }
    // Objects that stretch follow their band down.
    const double grown = height - designHeight;
    for (int i = 0; i < band.objects.size(); ++i) {
        const ReportObject& object = *band.objects.at(i).object;
        PreparedItem& item = result.items[i];
        // A rule under a row moves down with it; anything else grows.
        if (object.kind == ReportObject::Kind::Line && object.stretch && object.rect.height() == 0)
            item.rect.translate(0, grown);
        else if (object.stretch || object.wrap)
            item.rect.setHeight(item.rect.height() + grown);
    }
    result.height = height;
    return result;
}

void Preparer::place(const Instance& inst)
{
    QVector<PreparedItem>& page = m_out.pages.last();
    for (PreparedItem item : inst.items) {
        item.rect.translate(m_left, m_y);
        page.append(item);
    }
    m_y += inst.height;
}

void Preparer::placeAcrossPages(Instance inst)
{
    while (!fits(inst.height)) {
        const double cut = std::max(0.0, m_bottom - m_y);
        Instance head;
        Instance tail;
        head.height = cut;
        tail.height = inst.height - cut;
        for (const PreparedItem& item : std::as_const(inst.items)) {
            if (item.rect.bottom() <= cut + 0.5) {
                head.items.append(item);
                continue;
            }
            PreparedItem rest = item;
            rest.rect.translate(0, -cut);
            if (item.rect.top() >= cut) {
                tail.items.append(rest);
                continue;
            }
            PreparedItem first = item;
            first.rect.setBottom(cut);
            rest.rect.setTop(0);
            if (item.kind == PreparedItem::Kind::Text) {
                const double lineHeight = m_metrics.at(std::size_t(item.font)).lineSpacing();
                const int fit = std::clamp(int((cut - item.rect.top() - kTextPadY) / lineHeight), 0,
                                           int(item.lines.size()));
                first.lines = item.lines.mid(0, fit);
                first.widths = item.widths.mid(0, fit);
                rest.lines = item.lines.mid(fit);
                rest.widths = item.widths.mid(fit);
            }
            if (item.kind == PreparedItem::Kind::Line) {
                // A rule crossing the cut stays whole on the page it starts.
                head.items.append(item);
                continue;
            }
            head.items.append(first);
            if (item.kind != PreparedItem::Kind::Text || !rest.lines.isEmpty())
                tail.items.append(rest);
        }
        place(head);
        newPage();
        inst = tail;
        // A page cannot hold even a header's room: stop cutting, the rest
        // goes as it is.
        if (m_bottom - m_y <= 0)
            break;
    }
    place(inst);
}

void Preparer::newPage()
{
    m_out.pages.append(QVector<PreparedItem>());
    const bool first = m_out.pages.size() == 1;
    m_y = m_top;
    for (const ResolvedBand& band : std::as_const(m_bands)) {
        if (band.band->kind == ReportBand::Kind::PageHeader && (!first || band.band->onFirstPage))
            place(instance(band, -1));
    }
    // The page footers sit at the foot of every page.
    const double y = m_y;
    m_y = m_bottom;
    for (const ResolvedBand& band : std::as_const(m_bands)) {
        if (band.band->kind == ReportBand::Kind::PageFooter)
            place(instance(band, -1));
    }
    m_y = y;
    m_contentTop = m_y;
    if (m_repeatHeader)
        place(instance(*m_repeatHeader, -1));
}

void Preparer::layout()
{
    m_out.layout = QPageLayout(QPageSize(m_template.pageSize), m_template.orientation,
                               QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    m_page = m_out.pageSizeUnits();
    m_left = m_template.marginLeft * kUnits;
    m_top = m_template.marginTop * kUnits;
    m_footerHeight = 0;
    for (const ResolvedBand& band : std::as_const(m_bands)) {
        if (band.band->kind == ReportBand::Kind::PageFooter)
            m_footerHeight += band.band->height * kUnits;
    }
    m_bottom = m_page.height() - m_template.marginBottom * kUnits - m_footerHeight;
    newPage();

    auto placeFlowing = [&](const Instance& inst) {
        if (!fits(inst.height) && pageHasContent())
            newPage();
        if (fits(inst.height))
            place(inst);
        else
            placeAcrossPages(inst);
    };

    for (int b = 0; b < m_bands.size(); ++b) {
        const ResolvedBand& band = m_bands.at(b);
        const int rows = band.source ? band.source->rowCount() : 0;
        switch (band.band->kind) {
        case ReportBand::Kind::PageHeader:
        case ReportBand::Kind::PageFooter:
            break;
        case ReportBand::Kind::Title:
        case ReportBand::Kind::Band:
            placeFlowing(instance(band, -1));
            break;
        case ReportBand::Kind::Empty:
            if (rows == 0)
                placeFlowing(instance(band, -1));
            break;
        case ReportBand::Kind::Footer:
            if (rows > 0)
                placeFlowing(instance(band, rows - 1));
            break;
        case ReportBand::Kind::Header: {
            if (rows == 0)
                break;
            const Instance header = instance(band, 0);
            // A header is never left alone at the foot of a page.
            double firstRow = 0;
            for (int n = b + 1; n < m_bands.size(); ++n) {
                const ResolvedBand& next = m_bands.at(n);
                if (next.band->kind == ReportBand::Kind::Data && next.source == band.source) {
                    firstRow = instance(next, 0).height;
                    break;
                }
            }
            if (!fits(header.height + firstRow) && pageHasContent())
                newPage();
            place(header);
            if (band.band->repeatHeader)
                m_repeatHeader = &band;
            break;
        }
        case ReportBand::Kind::Data: {
            // The last row goes along with its footer: a total never
            // stands alone atop a page.
            double footer = 0;
            for (int n = b + 1; n < m_bands.size() && rows > 0; ++n) {
                const ResolvedBand& next = m_bands.at(n);
                if (next.band->kind == ReportBand::Kind::Footer && next.source == band.source) {
                    footer = instance(next, rows - 1).height;
                    break;
                }
                if (next.band->kind == ReportBand::Kind::Data)
                    break;
            }
            for (int row = 0; row < rows; ++row) {
                const Instance inst = instance(band, row);
                if (row == rows - 1 && footer > 0 && fits(inst.height) &&
                    !fits(inst.height + footer) && pageHasContent() &&
                    inst.height + footer <= m_bottom - m_contentTop)
                    newPage();
                placeFlowing(inst);
            }
            break;
        }
        }
        // Rows of a data set end with its data band; its header stops
        // repeating there.
        if (band.band->kind == ReportBand::Kind::Data)
            m_repeatHeader = nullptr;
    }
}

} // namespace

void ReportInput::addDataSet(const QString& name, const ReportDataSet* source)
{
    dataSets.insert(name.toLower(), source);
}

void ReportInput::addPicture(const QString& name, const QImage& picture)
{
    pictures.insert(name.toLower(), picture);
}

const ReportDataSet* ReportInput::dataSet(const QString& name) const
{
    return dataSets.value(name.toLower(), nullptr);
}

bool prepareReport(const ReportTemplate& report, const ReportInput& input, PreparedReport* out,
                   QString* error)
{
    PreparedReport result;
    Preparer preparer(report, input, result);
    if (!preparer.resolve(error))
        return false;
    preparer.layout();
    result.title = out->title;
    *out = std::move(result);
    return true;
}

} // namespace tav
