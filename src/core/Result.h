#pragma once

#include <QString>

namespace tav {

// The outcome of an operation that can fail: success, or the French reason
// of the failure, ready to be shown by the command that asked, with an
// optional detail (the engine's or the system's own words). A result must
// be looked at: dropping one hides a failure, so the compiler refuses it.
struct [[nodiscard]] Result
{
    // {false, reason} and {false, reason, detail} read as a failure, {} as
    // a success.
    Result(bool succeeded = true, const QString& reason = QString(),
           const QString& more = QString())
        : ok(succeeded), error(reason), detail(more)
    {}

    bool ok = true;
    QString error;
    QString detail;

    static Result success() { return {}; }
    static Result failure(const QString& reason, const QString& detail = QString())
    {
        return {false, reason, detail};
    }
    explicit operator bool() const { return ok; }
};

// For a failure the command goes on without: its reason, and its detail,
// are written to the log rather than lost.
void logFailure(const Result& result);

} // namespace tav
