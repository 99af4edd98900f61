#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tav {

// What came across from a Jet booklet.
struct JetImportCounts
{
    int animals = 0;
    int acts = 0;      // consultations
    int medicines = 0; // medicine purchases
    int vaccinations = 0;
    int weighings = 0; // weights and sizes
    int analyses = 0;  // analysis values
    int events = 0;
    int documents = 0; // image documents and attached files
    int pictures = 0;  // files of "Images"
    int files = 0;     // files of "Files"
};

struct JetImportResult
{
    bool ok = false;
    bool cancelled = false;
    QString error; // French, when not ok
    JetImportCounts counts;
    QStringList problems; // each thing that could not come across whole

    // The report shown at the end and written to the log, in French.
    QString report() const;
    QByteArray toJson() const;
    static JetImportResult fromJson(const QByteArray& json);
};

// Told the step under way, the count done and the count to do; returns
// false to cancel. An empty step with counts of -1 only asks whether to go
// on, and lets a window handle its events while a child works.
using JetImportProgress = std::function<bool(const QString& step, int done, int total)>;

// Converts a booklet of the Windows versions into one of this program: the
// source is a ".MDB" file (with its "Images" and "Files" folders beside
// it, names matched whatever their case) or a ".bkp" archive holding one.
// The target folder, which must not exist yet, receives "TAVIRUNE.MDB",
// "Images" and "Files". Keys and counters are kept, so every reference
// still points at the same row; the schema version row comes across as it
// is, so the start-up brings an older booklet up to date as it does any
// other. Widget-free: runs in the import's child process and in tests.
// On failure or cancel the target folder may hold a part of the booklet:
// the caller discards it.
JetImportResult convertJetBooklet(const QString& source, const QString& targetFolder,
                                  const JetImportProgress& progress = {});

} // namespace tav
