#pragma once

// Reads a written page back with Python's html.parser, as an independent
// peer, and returns what a reader of the page sees: its head, its tables
// (cells with their texts and attributes), pictures, links, paragraphs and
// the document's flow of section titles, table headers and lone lines.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

struct ReadPage
{
    bool ok = false;
    QString title;
    QString charset;
    int scripts = 0;
    QJsonArray tables; // [{rows: [[{text, attrs}]]}] in closing order
    QJsonArray images; // attrs
    QJsonArray links;  // {attrs, text}
    QStringList paragraphs;
    QStringList flow; // "T:title", "H:a|b|c", "P:line"
    QString text;     // every visible text, spaces normalised

    // The data rows of the first table whose header row is exactly these
    // captions, each row as cell texts.
    QList<QStringList> rowsUnder(const QStringList& header) const
    {
        for (const QJsonValue& t : tables) {
            const QJsonArray rows = t.toObject().value(QStringLiteral("rows")).toArray();
            if (rows.isEmpty() || cellTexts(rows.at(0).toArray()) != header)
                continue;
            QList<QStringList> out;
            for (int r = 1; r < rows.size(); ++r)
                out << cellTexts(rows.at(r).toArray());
            return out;
        }
        return {};
    }
    // The attribute of each header cell of that table ("width" say).
    QStringList headerAttribute(const QStringList& header, const QString& name) const
    {
        for (const QJsonValue& t : tables) {
            const QJsonArray rows = t.toObject().value(QStringLiteral("rows")).toArray();
            if (rows.isEmpty() || cellTexts(rows.at(0).toArray()) != header)
                continue;
            QStringList out;
            for (const QJsonValue& c : rows.at(0).toArray())
                out << c.toObject()
                           .value(QStringLiteral("attrs"))
                           .toObject()
                           .value(name)
                           .toString();
            return out;
        }
        return {};
    }
    QStringList imageSources() const
    {
        QStringList out;
        for (const QJsonValue& i : images)
            out << i.toObject().value(QStringLiteral("src")).toString();
        return out;
    }
    QStringList linkTargets() const
    {
        QStringList out;
        for (const QJsonValue& l : links)
            out << l.toObject()
                       .value(QStringLiteral("attrs"))
                       .toObject()
                       .value(QStringLiteral("href"))
                       .toString();
        return out;
    }
    QStringList titles() const
    {
        QStringList out;
        for (const QString& f : flow)
            if (f.startsWith(QLatin1String("T:")))
                out << f.mid(2);
        return out;
    }

    static QStringList cellTexts(const QJsonArray& row)
    {
        QStringList out;
        for (const QJsonValue& c : row)
            out << c.toObject().value(QStringLiteral("text")).toString();
        return out;
    }
};

inline ReadPage readPage(const QString& path)
{
    static const char* const script = R"PY(
import json, sys
from html.parser import HTMLParser

def norm(s):
    return ' '.join(s.replace('\xa0', ' ').split())

class Reader(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.out = {'title': '', 'charset': '', 'scripts': 0, 'tables': [], 'images': [],
                    'links': [], 'paragraphs': [], 'flow': [], 'text': ''}
        self.stack = []
        self.where = []
        self.texts = []
    def handle_starttag(self, tag, attrs):
        a = {k: (v if v is not None else '') for k, v in attrs}
        if tag == 'table':
            if self.stack:
                self.stack[-1]['parent'] = True
            self.stack.append({'rows': [], 'cell': None, 'parent': False})
        elif tag == 'tr' and self.stack:
            self.stack[-1]['rows'].append([])
        elif tag == 'td' and self.stack:
            t = self.stack[-1]
            if not t['rows']:
                t['rows'].append([])
            t['cell'] = {'text': '', 'attrs': a}
            t['rows'][-1].append(t['cell'])
        elif tag == 'img':
            self.out['images'].append(a)
        elif tag == 'a':
            self.out['links'].append({'attrs': a, 'text': ''})
            self.where.append('a')
        elif tag == 'script':
            self.out['scripts'] += 1
            self.where.append('script')
        elif tag == 'title':
            self.where.append('title')
        elif tag == 'p':
            self.out['paragraphs'].append('')
            self.where.append('p')
        elif tag == 'meta':
            if 'charset' in a:
                self.out['charset'] = a['charset']
        elif tag == 'br':
            self.data('\n')
    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
    def handle_endtag(self, tag):
        if tag == 'table' and self.stack:
            t = self.stack.pop()
            rows = [[{'text': norm(c['text']), 'attrs': c['attrs']} for c in r] for r in t['rows']]
            self.out['tables'].append({'rows': rows})
            if t['parent']:
                pass
            elif len(rows) == 1 and len(rows[0]) == 1:
                if rows[0][0]['text']:
                    self.out['flow'].append('T:' + rows[0][0]['text'])
            elif rows:
                self.out['flow'].append('H:' + '|'.join(c['text'] for c in rows[0]))
        elif tag == 'td' and self.stack:
            self.stack[-1]['cell'] = None
        elif tag in ('a', 'script', 'title', 'p') and tag in self.where:
            while self.where and self.where.pop() != tag:
                pass
            if tag == 'p':
                self.out['flow'].append('P:' + norm(self.out['paragraphs'][-1]))
    def data(self, d):
        if 'script' in self.where:
            return
        if 'title' in self.where:
            self.out['title'] += d
            return
        self.texts.append(d)
        if self.stack and self.stack[-1]['cell'] is not None:
            self.stack[-1]['cell']['text'] += d
        if 'a' in self.where:
            self.out['links'][-1]['text'] += d
        if 'p' in self.where:
            self.out['paragraphs'][-1] += d
    def handle_data(self, d):
        self.data(d)

with open(sys.argv[1], 'rb') as f:
    raw = f.read()
r = Reader()
r.feed(raw.decode('cp1252'))
r.close()
r.out['paragraphs'] = [norm(p) for p in r.out['paragraphs']]
r.out['text'] = norm(' '.join(r.texts))
sys.stdout.write(json.dumps(r.out))
)PY";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(script), path});
    ReadPage page;
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning("%s", python.readAllStandardError().constData());
        return page;
    }
    const QJsonObject o = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    page.ok = !o.isEmpty();
    page.title = o.value(QStringLiteral("title")).toString();
    page.charset = o.value(QStringLiteral("charset")).toString();
    page.scripts = o.value(QStringLiteral("scripts")).toInt();
    page.tables = o.value(QStringLiteral("tables")).toArray();
    page.images = o.value(QStringLiteral("images")).toArray();
    page.links = o.value(QStringLiteral("links")).toArray();
    for (const QJsonValue& p : o.value(QStringLiteral("paragraphs")).toArray())
        page.paragraphs << p.toString();
    for (const QJsonValue& f : o.value(QStringLiteral("flow")).toArray())
        page.flow << f.toString();
    page.text = o.value(QStringLiteral("text")).toString();
    return page;
}
