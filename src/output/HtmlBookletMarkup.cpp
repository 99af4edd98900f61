#include "output/HtmlBookletMarkup.h"

#include "db/FieldFormat.h"

#include <QLocale>

namespace tav::html {

namespace {

// Characters of the bytes 0x80 to 0x9F in Windows-1252; 0 where the code
// page defines none.
constexpr char16_t kHighBytes[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

const QString kFont = QStringLiteral("<font face=\"Arial\" size=\"2\">");
const QString kFontEnd = QStringLiteral("</font>");

QString widthAttribute(int percent)
{
    return percent > 0
               ? QStringLiteral(" width=\"") + QString::number(percent) + QStringLiteral("%\"")
               : QString();
}

QString alignAttribute(const QString& align)
{
    return align.isEmpty() ? QString() : QStringLiteral(" align=\"") + align + QLatin1Char('"');
}

void appendReference(QByteArray& out, char32_t codePoint)
{
    out += "&#";
    out += QByteArray::number(quint32(codePoint));
    out += ';';
}

} // namespace

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        case '\r':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("<br>");
            break;
        case '\n':
            out += QLatin1String("<br>");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QByteArray windows1252(const QString& page)
{
    QByteArray out;
    out.reserve(page.size() + 64);
    const char16_t* p = reinterpret_cast<const char16_t*>(page.utf16());
    const qsizetype n = page.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            c = QChar::surrogateToUcs4(char16_t(c), p[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(c)) {
            c = 0xFFFD; // half a pair carries no character
        }
        if (c < 0x80) {
            // Control characters other than tab and line ends have no
            // place in a page; a parser would reject their references.
            if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
                appendReference(out, 0xFFFD);
            else
                out += char(c);
            continue;
        }
        if (c >= 0xA0 && c <= 0xFF) {
            out += char(uchar(c));
            continue;
        }
        int byte = -1;
        for (int k = 0; k < 32; ++k) {
            if (kHighBytes[k] != 0 && kHighBytes[k] == c) {
                byte = 0x80 + k;
                break;
            }
        }
        if (byte >= 0)
            out += char(uchar(byte));
        else if (c >= 0x80 && c < 0xA0)
            // A browser reads "&#128;" to "&#159;" as the code page's
            // characters, not as these controls: they cannot be kept.
            appendReference(out, 0xFFFD);
        else
            appendReference(out, c);
    }
    return out;
}

QString fromWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const uchar u = uchar(b);
        if (u >= 0x80 && u < 0xA0 && kHighBytes[u - 0x80] != 0)
            out += QChar(kHighBytes[u - 0x80]);
        else
            out += QChar(char16_t(u));
    }
    return out;
}

QString number(double value, int decimals)
{
    // The rounding of the grids (half away from zero on the stored
    // digits), with the locale's separator turned into a point.
    QString text = fixedDecimals(value, decimals);
    const QLocale locale;
    text.replace(locale.decimalPoint(), QStringLiteral("."));
    text.replace(locale.negativeSign(), QStringLiteral("-"));
    return text;
}

QString withDetail(const QString& value, const QString& detail)
{
    return detail.isEmpty() ? value : value + QStringLiteral(" (") + detail + QLatin1Char(')');
}

void Page::open(const QString& headTitle)
{
    // A browser reads the page in standards mode and in the code page it
    // is written in.
    m_lines << QStringLiteral("<!DOCTYPE html>") << QStringLiteral("<html>")
            << QStringLiteral("<head>") << QStringLiteral("<meta charset=\"windows-1252\">")
            << QStringLiteral("<title>") + escaped(headTitle) + QStringLiteral("</title>")
            << QStringLiteral("<script type=\"text/javascript\">") << QStringLiteral("<!--")
            << QStringLiteral("function centerwindow(page, largeur, hauteur, options) {")
            << QStringLiteral("  var left = (screen.width - largeur) / 2;")
            << QStringLiteral("  var top = (screen.height - hauteur) / 2;")
            << QStringLiteral("  window.open(page, \"\", \"width=\" + largeur + \",height=\" + "
                              "hauteur + \",left=\" + left + \",top=\" + top + \",\" + options);")
            << QStringLiteral("}") << QStringLiteral("//-->") << QStringLiteral("</script>")
            << QStringLiteral("</head>")
            << QStringLiteral("<body topmargin=\"0\" leftmargin=\"0\" marginwidth=\"0\" "
                              "marginheight=\"0\" style=\"margin:0\">")
            << QStringLiteral("<table width=\"100%\" border=\"0\" cellspacing=\"0\" "
                              "cellpadding=\"0\"><tr><td align=\"center\">");
}

void Page::close(const QString& makerName, const QString& webSite)
{
    const QString site = escaped(webSite);
    m_lines << QStringLiteral("<p align=\"center\">") + kFont + QStringLiteral("<i><u>") +
                   escaped(makerName) + QStringLiteral("\u00AE, <a href=\"") + site +
                   QStringLiteral("\" target=\"_blank\">") + site +
                   QStringLiteral("</a>.</u></i>") + kFontEnd + QStringLiteral("</p>")
            << QStringLiteral("</td></tr></table>") << QStringLiteral("</body>")
            << QStringLiteral("</html>");
}

void Page::comment(const QString& text)
{
    m_lines << QStringLiteral("<!-- ") + QString(text).remove(QStringLiteral("--")) +
                   QStringLiteral(" -->");
}

void Page::sectionTitle(const QString& title)
{
    beginTable();
    m_lines << QStringLiteral("<tr><td bgcolor=\"#DDDDDD\" align=\"center\">") + kFont +
                   QStringLiteral("<b>") + escaped(title) + QStringLiteral("</b>") + kFontEnd +
                   QStringLiteral("</td></tr>");
    endTable();
}

void Page::emptySection(const QString& text)
{
    m_lines << QStringLiteral("<p align=\"center\">") + kFont + escaped(text) + kFontEnd +
                   QStringLiteral("</p>");
}

void Page::documentTitleBar(const QString& title)
{
    m_lines << QStringLiteral("<table width=\"100%\" border=\"0\" bordercolor=\"#000000\" "
                              "cellspacing=\"1\" cellpadding=\"2\">")
            << QStringLiteral("<tr><td bgcolor=\"#0099FF\" align=\"center\">") + kFont +
                   QStringLiteral("<font color=\"#FFFFFF\"><b>") + escaped(title) +
                   QStringLiteral("</b></font>") + kFontEnd + QStringLiteral("</td></tr>");
    endTable();
}

void Page::noDocument(const QString& text)
{
    m_lines << QStringLiteral("<p align=\"center\"><font face=\"Arial\" size=\"1\"><b>") +
                   escaped(text) + QStringLiteral("</b></font></p>");
}

void Page::beginTable()
{
    m_lines << QStringLiteral(
        "<table width=\"100%\" border=\"0\" cellspacing=\"1\" cellpadding=\"2\">");
}

void Page::headerCell(const QString& caption, int widthPercent, const QString& align)
{
    m_lines << QStringLiteral("<td bgcolor=\"#0099FF\"") + widthAttribute(widthPercent) +
                   alignAttribute(align) +
                   (widthPercent == 1 ? QStringLiteral(" nowrap") : QString()) + QLatin1Char('>') +
                   kFont + QStringLiteral("<font color=\"#FFFFFF\"><b>") + escaped(caption) +
                   QStringLiteral("</b></font>") + kFontEnd + QStringLiteral("</td>");
}

void Page::dataCell(const QString& markup, const QString& align, bool top, int widthPercent,
                    bool noWrap)
{
    m_lines << QStringLiteral("<td bgcolor=\"#F4F4F4\"") + widthAttribute(widthPercent) +
                   alignAttribute(align) + (top ? QStringLiteral(" valign=\"top\"") : QString()) +
                   (noWrap ? QStringLiteral(" nowrap") : QString()) + QLatin1Char('>') + kFont +
                   markup + kFontEnd + QStringLiteral("</td>");
}

void Page::headerRow(const QStringList& captions, const QList<int>& widths)
{
    beginRow();
    for (qsizetype i = 0; i < captions.size(); ++i)
        headerCell(captions.at(i), widths.value(i));
    endRow();
}

void Page::identityRow(const QStringList& values)
{
    beginRow();
    for (const QString& v : values)
        dataCell(QStringLiteral("&nbsp;") + escaped(v));
    endRow();
}

void Page::lightHeaderCell(const QString& caption, int widthPercent)
{
    m_lines << QStringLiteral("<td bgcolor=\"#DDDDDD\"") + widthAttribute(widthPercent) +
                   QLatin1Char('>') + kFont + QStringLiteral("<font color=\"#000000\"><b>") +
                   escaped(caption) + QStringLiteral("</b></font>") + kFontEnd +
                   QStringLiteral("</td>");
}

void Page::lightDataCell(const QString& markup)
{
    m_lines << QStringLiteral("<td bgcolor=\"#F4F4F4\" valign=\"top\">") + kFont +
                   QStringLiteral("<font color=\"#000000\">") +
                   (markup.isEmpty() ? QStringLiteral("&nbsp;") : markup) +
                   QStringLiteral("</font>") + kFontEnd + QStringLiteral("</td>");
}

QString Page::text() const
{
    QString out;
    qsizetype size = 0;
    for (const QString& l : m_lines)
        size += l.size() + 2;
    out.reserve(size);
    for (const QString& l : m_lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

QString picturePage(const QString& headTitle, const QString& pictureName)
{
    Page page;
    page.line(QStringLiteral("<!DOCTYPE html>"));
    page.line(QStringLiteral("<html>"));
    page.line(QStringLiteral("<head>"));
    page.line(QStringLiteral("<meta charset=\"windows-1252\">"));
    page.line(QStringLiteral("<title>") + escaped(headTitle) + QStringLiteral("</title>"));
    // In standards mode a table is as high as the page only when the page
    // is: the picture stays centred on the window's height.
    page.line(QStringLiteral("<style>html, body { height: 100%; }</style>"));
    page.line(QStringLiteral("</head>"));
    page.line(QStringLiteral("<body topmargin=\"0\" leftmargin=\"0\" marginwidth=\"0\" "
                             "marginheight=\"0\" style=\"margin:0\">"));
    page.line(QStringLiteral("<table width=\"100%\" height=\"100%\" border=\"0\" "
                             "cellspacing=\"0\" cellpadding=\"0\">"));
    page.line(QStringLiteral("<tr><td align=\"center\" valign=\"middle\"><img src=\"") +
              escaped(pictureName) + QStringLiteral("\" border=\"1\"></td></tr>"));
    page.line(QStringLiteral("</table>"));
    page.line(QStringLiteral("</body>"));
    page.line(QStringLiteral("</html>"));
    return page.text();
}

} // namespace tav::html
