#pragma once

#include "report/ReportData.h"

#include <QFontDatabase>
#include <QProcess>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Rows held in memory, shown as their plain text.
class MemoryRows : public tav::ReportDataSet
{
public:
    MemoryRows(QStringList fields, QVector<QVariantList> rows, bool open = true)
        : m_fields(std::move(fields)), m_rows(std::move(rows)), m_open(open)
    {}
    bool isOpen() const override { return m_open; }
    int rowCount() const override { return m_open ? int(m_rows.size()) : 0; }
    int fieldIndex(const QString& name) const override
    {
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }
    QVariant value(int row, int field) const override { return m_rows.at(row).at(field); }
    QString text(int row, int field) const override { return value(row, field).toString(); }

private:
    QStringList m_fields;
    QVector<QVariantList> m_rows;
    bool m_open;
};

// The font the templates name, from the tests' own copy, so that line
// breaks do not depend on the fonts of the machine.
inline void loadTestFont()
{
    QFontDatabase::addApplicationFont(qEnvironmentVariable("TAVIRUNE_TEST_DATA") +
                                      QStringLiteral("/fonts/DejaVuSans.ttf"));
}

// The text of a PDF file as poppler's pdftotext reads it, page by page.
inline QStringList pdfPages(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QChar(0x0C));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Runs of spaces made single, for comparing laid-out text.
inline QString squeezed(const QString& text)
{
    return text.simplified();
}
