#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tav {

class Connection;

// SQLite's affinity for a declared column type ("INTEGER", "TEXT", "BLOB",
// "REAL" or "NUMERIC"), by the engine's own rules.
QString sqliteAffinity(const QString& declaredType);

// Tables holding a text column (a Jet text or memo type) whose declared
// type does not give it TEXT affinity: such a column turns "0612345678"
// into the number 612345678.
QStringList tablesWithNumericText(Connection& connection);

struct TextAffinityUpgradeResult
{
    bool ok = true;
    QString message;    // French, ready to show, when !ok
    QString safetyCopy; // the copy made before converting; empty when none was needed
    QStringList tables; // the tables rebuilt
};

// Converts a database written by an earlier build, whose memo columns were
// declared so that SQLite read numbers into them: each such table is
// rebuilt with the same columns declared as text (keys, AUTOINCREMENT
// sequence, defaults and collations kept), all in one transaction, after a
// copy of the whole file is written beside it. Values that the earlier
// build had already turned into numbers cannot be recovered and keep their
// digits. Does nothing when no table needs it; on any failure the database
// is left as it was. `beforeTable` is called before each table is rebuilt
// (a test throws from it to force a failure half-way).
TextAffinityUpgradeResult
upgradeTextAffinity(Connection& connection,
                    const std::function<void(const QString& table)>& beforeTable = {});

} // namespace tav
