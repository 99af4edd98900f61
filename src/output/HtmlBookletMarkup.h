#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tav::html {

// A text typed by a user, made safe for the body of a page or the value of
// an attribute: & < > " ' become entities, so that "<script>" shows as
// typed and runs nothing. Line breaks become <br> so that a memo keeps its
// lines.
QString escaped(const QString& text);

// The page as Windows-1252 bytes, the code page it declares. A character
// that code page cannot hold (Cyrillic, Greek, emoji...) is written as a
// numeric character reference of its code point, so nothing is lost.
QByteArray windows1252(const QString& page);
// The reverse, for reading a page back: every byte has its character.
QString fromWindows1252(const QByteArray& bytes);

// A number with a point as decimal separator, no thousands separator and
// the fixed count of decimals, whatever the locale (12.35, 3 -> "12.350").
QString number(double value, int decimals);

// The value followed by " (detail)" when the detail is not empty.
QString withDetail(const QString& value, const QString& detail);

// Builds a page line by line; every line ends with CR LF.
class Page
{
public:
    // The opening every page shares: head title, declared code page, the
    // centerwindow() script, a body without margins and the centring table.
    void open(const QString& headTitle);
    // The footer, the end of the centring table and of the page.
    void close(const QString& makerName, const QString& webSite);

    void line(const QString& markup) { m_lines << markup; }
    void separator() { m_lines << QStringLiteral("<br>"); }
    void comment(const QString& text);

    // A full-width one-cell title: grey ground, centred bold text.
    void sectionTitle(const QString& title);
    // The centred line of a section without rows.
    void emptySection(const QString& text);
    // Blue one-cell bar titling a document section.
    void documentTitleBar(const QString& title);
    // A centred bold small line ("Pas de document ...").
    void noDocument(const QString& text);

    // Tables of header cells above data cells. Widths are in percent.
    void beginTable();
    void endTable() { m_lines << QStringLiteral("</table>"); }
    void beginRow() { m_lines << QStringLiteral("<tr>"); }
    void endRow() { m_lines << QStringLiteral("</tr>"); }
    void headerCell(const QString& caption, int widthPercent, const QString& align = {});
    // `markup` is written as it stands: escape texts before.
    // A cell of 1 % keeps its text on one line, as its column is meant to
    // be just as wide as its dates and amounts.
    void dataCell(const QString& markup, const QString& align = {}, bool top = false,
                  int widthPercent = 0, bool noWrap = false);
    // A whole header row and a whole data row (identity values, each
    // preceded by a non-breaking space).
    void headerRow(const QStringList& captions, const QList<int>& widths);
    void identityRow(const QStringList& values);
    void lightHeaderCell(const QString& caption, int widthPercent);
    void lightDataCell(const QString& markup);

    QString text() const;
    const QStringList& lines() const { return m_lines; }

private:
    QStringList m_lines;
};

// The one-picture page that a thumbnail opens: the picture centred in the
// whole window.
QString picturePage(const QString& headTitle, const QString& pictureName);

} // namespace tav::html
