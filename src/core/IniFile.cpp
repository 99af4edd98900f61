#include "core/IniFile.h"

#include "core/TextFile.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <limits>

namespace tav {

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isComment(const QString& line)
{
    return line.startsWith(u';') || line.startsWith(u'#');
}

QString singleLine(const QString& text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String(" "));
    result.replace(u'\r', u' ');
    result.replace(u'\n', u' ');
    return result;
}

// Optional sign and decimal digits only; "12abc", "0x10" and out-of-range
// values are rejected so that they fall back to the caller's default.
bool parseDecimalInt(const QString& text, int* value)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-')) {
        negative = t.at(i) == u'-';
        ++i;
    }
    if (i == t.size())
        return false;
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    long long magnitude = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t.at(i).unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit)
            return false;
    }
    *value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

// A value enclosed in a pair of double or single quotes is read without
// them, as Windows reads its profile files.
QString unquoted(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// Written so that unquoted() gives the value back: a value that has its
// own enclosing quotes gets one more pair.
QString quotedIfNeeded(const QString& value)
{
    if (unquoted(value).size() != value.size())
        return u'"' + value + u'"';
    return value;
}

} // namespace

IniFile::IniFile(const QString& path) : m_path(path)
{
    bool ok = false;
    const QString text = readTextFile(path, &ok);
    if (ok)
        parse(text);
}

bool IniFile::exists() const
{
    return QFileInfo(m_path).isFile();
}

void IniFile::parse(const QString& text)
{
    m_sections.clear();
    // One set per section keeps loading linear even for junk files holding
    // many thousands of "sections" and "keys".
    QVector<QSet<QString>> seenKeys;
    qsizetype current = -1;
    // A repeated section is kept (and written back) but never read: lookups
    // find the first section of a name, as Windows does.
    const auto addSection = [&](const QString& name) {
        m_sections.append({name, {}});
        seenKeys.emplaceBack();
        return m_sections.size() - 1;
    };

    const QStringList lines = splitTextLines(text);
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close < 0)
                continue; // a broken header: its keys stay in the previous section
            current = addSection(line.mid(1, close - 1).trimmed());
            continue;
        }
        if (current < 0)
            current = addSection(QString());
        Section& section = m_sections[current];
        if (isComment(line)) {
            section.entries.append({QString(), line});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (key.isEmpty())
            continue;
        QSet<QString>& known = seenKeys[current];
        const QString folded = key.toCaseFolded();
        if (!known.contains(folded)) {
            known.insert(folded);
            section.entries.append({key, unquoted(line.mid(equals + 1).trimmed())});
        }
    }
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    for (const Section& section : m_sections) {
        if (sameName(section.name, name))
            return &section;
    }
    return nullptr;
}

IniFile::Section* IniFile::findSection(const QString& name)
{
    for (Section& section : m_sections) {
        if (sameName(section.name, name))
            return &section;
    }
    return nullptr;
}

IniFile::Section& IniFile::sectionForWrite(const QString& name)
{
    if (Section* section = findSection(name))
        return *section;
    m_sections.append({name, {}});
    return m_sections.last();
}

const IniFile::Entry* IniFile::findEntry(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    if (!s || key.isEmpty())
        return nullptr;
    for (const Entry& entry : s->entries) {
        if (!entry.key.isEmpty() && sameName(entry.key, key))
            return &entry;
    }
    return nullptr;
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return findEntry(section, key) != nullptr;
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    for (const Section& section : m_sections)
        names.append(section.name);
    return names;
}

QStringList IniFile::keyNames(const QString& section) const
{
    QStringList names;
    if (const Section* s = findSection(section)) {
        for (const Entry& entry : s->entries) {
            if (!entry.key.isEmpty())
                names.append(entry.key);
        }
    }
    return names;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    const Entry* entry = findEntry(section, key);
    return entry ? entry->value : def;
}

int IniFile::readInt(const QString& section, const QString& key, int def) const
{
    const Entry* entry = findEntry(section, key);
    int value = 0;
    if (entry && parseDecimalInt(entry->value, &value))
        return value;
    return def;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const
{
    return readInt(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString cleanKey = singleLine(key).trimmed();
    if (cleanKey.isEmpty())
        return;
    const QString cleanValue = singleLine(value).trimmed();
    Section& s = sectionForWrite(singleLine(section).trimmed());
    for (Entry& entry : s.entries) {
        if (!entry.key.isEmpty() && sameName(entry.key, cleanKey)) {
            entry.value = cleanValue;
            return;
        }
    }
    s.entries.append({cleanKey, cleanValue});
}

void IniFile::writeInt(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::removeKey(const QString& section, const QString& key)
{
    Section* s = findSection(section);
    if (!s)
        return;
    s->entries.removeIf(
        [&key](const Entry& entry) { return !entry.key.isEmpty() && sameName(entry.key, key); });
}

QString IniFile::toText() const
{
    QString text;
    const auto writeEntries = [&text](const Section& section) {
        for (const Entry& entry : section.entries) {
            if (entry.key.isEmpty())
                text += entry.value;
            else
                text += entry.key + u'=' + quotedIfNeeded(entry.value);
            text += u'\n';
        }
    };
    // Keys of the nameless section must come before any header, or a reader
    // would put them into the section above them.
    if (const Section* nameless = findSection(QString()))
        writeEntries(*nameless);
    for (const Section& section : m_sections) {
        if (section.name.isEmpty())
            continue;
        if (!text.isEmpty())
            text += u'\n';
        text += u'[' + section.name + QLatin1String("]\n");
        writeEntries(section);
    }
    return text;
}

FileResult IniFile::save() const
{
    return writeTextFile(m_path, toText());
}

} // namespace tav
