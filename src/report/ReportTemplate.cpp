#include "report/ReportTemplate.h"

#include "core/FrenchText.h"
#include "core/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace tav {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isName(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!isNameChar(c))
            return false;
    }
    return true;
}

// "[...]" without its brackets, into one part.
bool parseReference(const QString& inside, TextPart* part, QString* error)
{
    QString body = inside.trimmed();
    QString format;
    const int colon = body.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        format = body.mid(colon + 1).trimmed();
        body = body.left(colon).trimmed();
    }
    part->format = format;
    const QString upper = body.toUpper();
    if (upper == QLatin1String("PAGE") || upper == QLatin1String("PAGES")) {
        part->kind = upper == QLatin1String("PAGE") ? TextPart::Kind::Page : TextPart::Kind::Pages;
        return true;
    }
    if (upper == QLatin1String("COUNT")) {
        part->kind = TextPart::Kind::Count;
        return true;
    }
    static const QRegularExpression sum(QStringLiteral("^SUM\\s*\\(\\s*([^)]*?)\\s*\\)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = sum.match(body);
    QString name = body;
    if (m.hasMatch()) {
        part->kind = TextPart::Kind::Sum;
        name = m.captured(1);
    } else {
        part->kind = TextPart::Kind::Field;
    }
    const int dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        part->dataSet = name.left(dot);
        name = name.mid(dot + 1);
    }
    part->text = name;
    if (!isName(name) || (dot >= 0 && !isName(part->dataSet))) {
        *error = fr("référence « [%1] » incorrecte").arg(inside);
        return false;
    }
    return true;
}

bool parseGeometry(const QString& text, QRectF* rect)
{
    const QStringList numbers = text.split(QLatin1Char(','));
    if (numbers.size() != 4)
        return false;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = numbers.at(i).trimmed().toDouble(&ok);
        if (!ok)
            return false;
    }
    *rect = QRectF(v[0], v[1], v[2], v[3]);
    return true;
}

bool parseStyle(const QString& text, ReportObject* object, QString* error)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    Qt::Alignment horizontal = Qt::AlignLeft;
    Qt::Alignment vertical;
    for (const QString& word : words) {
        const QString w = word.toLower();
        const int eq = w.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? w : w.left(eq);
        const QString value = eq < 0 ? QString() : word.mid(eq + 1);
        bool ok = true;
        if (key == QLatin1String("bold"))
            object->bold = true;
        else if (key == QLatin1String("italic"))
            object->italic = true;
        else if (key == QLatin1String("left"))
            horizontal = Qt::AlignLeft;
        else if (key == QLatin1String("center"))
            horizontal = Qt::AlignHCenter;
        else if (key == QLatin1String("right"))
            horizontal = Qt::AlignRight;
        else if (key == QLatin1String("top"))
            vertical = Qt::AlignTop;
        else if (key == QLatin1String("middle"))
            vertical = Qt::AlignVCenter;
        else if (key == QLatin1String("bottom"))
            vertical = Qt::AlignBottom;
        else if (key == QLatin1String("wrap"))
            object->wrap = true;
        else if (key == QLatin1String("stretch"))
            object->stretch = true;
        else if (key == QLatin1String("border"))
            object->border = true;
        else if (key == QLatin1String("size"))
            object->fontSize = value.toDouble(&ok);
        else if (key == QLatin1String("pen"))
            object->penWidth = value.toDouble(&ok);
        else if (key == QLatin1String("color") || key == QLatin1String("fill")) {
            const QColor c = QColor::fromString(value);
            ok = c.isValid();
            (key == QLatin1String("color") ? object->color : object->fill) = c;
        } else {
            *error = fr("style « %1 » inconnu").arg(word);
            return false;
        }
        if (!ok) {
            *error = fr("valeur incorrecte dans « %1 »").arg(word);
            return false;
        }
    }
    // Wrapped text starts at the top; a single line sits in the middle.
    if (!vertical)
        vertical = object->wrap ? Qt::AlignTop : Qt::AlignVCenter;
    object->align = horizontal | vertical;
    return true;
}

bool parseBandHeader(const QString& header, ReportBand* band)
{
    const QStringList words = header.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 2)
        return false;
    static const QVector<QPair<QString, ReportBand::Kind>> kinds = {
        {QStringLiteral("title"), ReportBand::Kind::Title},
        {QStringLiteral("pageheader"), ReportBand::Kind::PageHeader},
        {QStringLiteral("pagefooter"), ReportBand::Kind::PageFooter},
        {QStringLiteral("band"), ReportBand::Kind::Band},
        {QStringLiteral("header"), ReportBand::Kind::Header},
        {QStringLiteral("data"), ReportBand::Kind::Data},
        {QStringLiteral("footer"), ReportBand::Kind::Footer},
        {QStringLiteral("empty"), ReportBand::Kind::Empty}};
    const QString kind = words.first().toLower();
    for (const auto& [word, k] : kinds) {
        if (word != kind)
            continue;
        band->kind = k;
        const bool needsDataSet = k == ReportBand::Kind::Header || k == ReportBand::Kind::Data ||
                                  k == ReportBand::Kind::Footer || k == ReportBand::Kind::Empty;
        if (needsDataSet != (words.size() == 2))
            return false;
        if (needsDataSet) {
            band->dataSet = words.at(1);
            if (!isName(band->dataSet))
                return false;
        }
        return true;
    }
    return false;
}

} // namespace

bool ReportTemplate::hasPicture(const QString& pictureName) const
{
    for (const ReportBand& band : bands) {
        for (const ReportObject& object : band.objects) {
            if (object.kind == ReportObject::Kind::Picture &&
                object.pictureName.compare(pictureName, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

bool ReportTemplate::load(const QString& path, QString* error)
{
    const QString fileName = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path)) {
        *error = fr("Le modèle de rapport « %1 » est introuvable.").arg(fileName);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = fr("Le modèle de rapport « %1 » ne peut pas être lu.").arg(fileName);
        return false;
    }
    return parse(decodeText(file.readAll()), fileName, error);
}

bool ReportTemplate::parse(const QString& text, const QString& templateName, QString* error)
{
    *this = ReportTemplate();
    name = templateName;
    const QStringList lines = text.split(QLatin1Char('\n'));
    enum class Section { None, Report, Band } section = Section::None;
    ReportBand* band = nullptr;
    auto fail = [&](int lineNo, const QString& why) {
        *error = fr("Le modèle de rapport « %1 » ne peut pas être lu (ligne %2) : %3.")
                     .arg(templateName)
                     .arg(lineNo)
                     .arg(why);
        return false;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return fail(lineNo, fr("section mal fermée"));
            const QString header = line.mid(1, line.size() - 2).trimmed();
            if (header.compare(QLatin1String("Report"), Qt::CaseInsensitive) == 0) {
                section = Section::Report;
                band = nullptr;
                continue;
            }
            ReportBand b;
            b.line = lineNo;
            if (!parseBandHeader(header, &b))
                return fail(lineNo, fr("bande « %1 » inconnue").arg(header));
            bands.append(b);
            band = &bands.last();
            section = Section::Band;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return fail(lineNo, fr("« clé=valeur » attendu"));
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        bool ok = true;
        if (section == Section::Report) {
            if (key == QLatin1String("page")) {
                const QString v = value.toUpper();
                if (v == QLatin1String("A4"))
                    pageSize = QPageSize::A4;
                else if (v == QLatin1String("A5"))
                    pageSize = QPageSize::A5;
                else if (v == QLatin1String("LETTER"))
                    pageSize = QPageSize::Letter;
                else
                    ok = false;
            } else if (key == QLatin1String("orientation")) {
                if (value.compare(QLatin1String("portrait"), Qt::CaseInsensitive) == 0)
                    orientation = QPageLayout::Portrait;
                else if (value.compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0)
                    orientation = QPageLayout::Landscape;
                else
                    ok = false;
            } else if (key == QLatin1String("margins")) {
                QRectF r;
                ok = parseGeometry(value, &r);
                marginLeft = r.x();
                marginTop = r.y();
                marginRight = r.width();
                marginBottom = r.height();
            } else if (key == QLatin1String("font")) {
                fontFamily = value;
                ok = !value.isEmpty();
            } else if (key == QLatin1String("fontsize")) {
                fontSize = value.toDouble(&ok);
                ok = ok && fontSize > 0;
            } else {
                return fail(lineNo, fr("clé « %1 » inconnue").arg(line.left(eq).trimmed()));
            }
            if (!ok)
                return fail(lineNo, fr("valeur « %1 » incorrecte").arg(value));
            continue;
        }
        if (section != Section::Band || !band)
            return fail(lineNo, fr("ligne hors de toute section"));
        if (key == QLatin1String("height")) {
            band->height = value.toDouble(&ok);
            if (!ok || band->height < 0)
                return fail(lineNo, fr("hauteur « %1 » incorrecte").arg(value));
            continue;
        }
        if (key == QLatin1String("repeat") || key == QLatin1String("firstpage")) {
            if (value != QLatin1String("0") && value != QLatin1String("1"))
                return fail(lineNo, fr("0 ou 1 attendu"));
            (key == QLatin1String("repeat") ? band->repeatHeader : band->onFirstPage) =
                value == QLatin1String("1");
            continue;
        }
        ReportObject object;
        object.line = lineNo;
        if (key == QLatin1String("text"))
            object.kind = ReportObject::Kind::Text;
        else if (key == QLatin1String("line"))
            object.kind = ReportObject::Kind::Line;
        else if (key == QLatin1String("frame"))
            object.kind = ReportObject::Kind::Frame;
        else if (key == QLatin1String("picture"))
            object.kind = ReportObject::Kind::Picture;
        else
            return fail(lineNo, fr("clé « %1 » inconnue").arg(line.left(eq).trimmed()));
        // geometry | style | content: the content may hold "|" itself.
        const int bar1 = value.indexOf(QLatin1Char('|'));
        const int bar2 = bar1 < 0 ? -1 : value.indexOf(QLatin1Char('|'), bar1 + 1);
        const QString geometry = bar1 < 0 ? value : value.left(bar1);
        const QString style =
            bar1 < 0 ? QString()
                     : (bar2 < 0 ? value.mid(bar1 + 1) : value.mid(bar1 + 1, bar2 - bar1 - 1));
        const QString content = bar2 < 0 ? QString() : value.mid(bar2 + 1).trimmed();
        if (!parseGeometry(geometry, &object.rect))
            return fail(lineNo, fr("position « %1 » incorrecte").arg(geometry.trimmed()));
        QString why;
        if (!parseStyle(style, &object, &why))
            return fail(lineNo, why);
        if (object.kind == ReportObject::Kind::Text) {
            if (!parseTextContent(content, &object.parts, &why))
                return fail(lineNo, why);
        } else if (object.kind == ReportObject::Kind::Picture) {
            if (!isName(content))
                return fail(lineNo, fr("nom d'image « %1 » incorrect").arg(content));
            object.pictureName = content;
        }
        band->objects.append(object);
    }
    return true;
}

bool parseTextContent(const QString& content, QVector<TextPart>* parts, QString* error)
{
    parts->clear();
    QString literal;
    auto flush = [&]() {
        if (!literal.isEmpty())
            parts->append({TextPart::Kind::Literal, literal, {}, {}});
        literal.clear();
    };
    for (int i = 0; i < content.size(); ++i) {
        const QChar c = content.at(i);
        if (c == QLatin1Char('\\') && i + 1 < content.size()) {
            const QChar n = content.at(i + 1);
            if (n == QLatin1Char('n') || n == QLatin1Char('\\')) {
                literal += n == QLatin1Char('n') ? QLatin1Char('\n') : QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        if (c == QLatin1Char('[')) {
            if (i + 1 < content.size() && content.at(i + 1) == QLatin1Char('[')) {
                literal += c;
                ++i;
                continue;
            }
            const int close = content.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0) {
                *error = fr("« [ » sans « ] »");
                return false;
            }
            TextPart part;
            if (!parseReference(content.mid(i + 1, close - i - 1), &part, error))
                return false;
            flush();
            parts->append(part);
            i = close;
            continue;
        }
        literal += c;
    }
    flush();
    return true;
}

} // namespace tav
