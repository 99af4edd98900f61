#pragma once

#include "core/FileRoutines.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace tav {

// A Windows-style INI file: "[Section]" lines followed by "key=value" lines.
// Read as Windows reads its profile files: section and key names match
// without regard to case, values are trimmed and lose one pair of enclosing
// quotes, the first occurrence of a key wins, and of two sections with the
// same name only the first is read (the second is kept for saving). Lines that are neither are
// ignored, except comments (";" or "#"), which are kept so that a hand-written file keeps them
// across a save. Lines before the first section belong to a nameless section, which is always
// written first.
class IniFile
{
public:
    explicit IniFile(const QString& path);

    const QString& path() const { return m_path; }
    bool exists() const;

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

    QString readString(const QString& section, const QString& key, const QString& def) const;
    // A value that is not a decimal integer (optional sign, digits only, in
    // range) gives the default.
    int readInt(const QString& section, const QString& key, int def) const;
    // A non-zero integer is true, zero false, anything else the default.
    bool readBool(const QString& section, const QString& key, bool def) const;

    // Line breaks in a value would split it into lines of their own, so they
    // are written as spaces. Values are trimmed; one with enclosing quotes
    // of its own is saved inside one more pair so that it reads back whole.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void removeKey(const QString& section, const QString& key);

    // Writes every section and key in insertion order, atomically.
    FileResult save() const;
    // The text save() writes, line breaks as LF.
    QString toText() const;

    // Parses INI text into this object, replacing its contents.
    void parse(const QString& text);

private:
    struct Entry
    {
        QString key;   // empty for a kept comment line
        QString value; // the comment line itself when key is empty
    };
    struct Section
    {
        QString name;
        QVector<Entry> entries;
    };

    const Section* findSection(const QString& name) const;
    Section* findSection(const QString& name);
    Section& sectionForWrite(const QString& name);
    const Entry* findEntry(const QString& section, const QString& key) const;

    QString m_path;
    QVector<Section> m_sections;
};

} // namespace tav
