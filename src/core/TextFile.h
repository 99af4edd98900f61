#pragma once

#include "core/FileRoutines.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tav {

// Text files of the program (INI files, logs, update scripts) are written as
// UTF-8 lines ending in CR LF. Files written by the Windows version of the
// program are in Windows-1252, so reading falls back to that code page
// whenever the bytes are not valid UTF-8.

// Decodes file contents: UTF-16 (little or big endian) when they start with
// its byte-order mark; else UTF-8 (without its byte-order mark) when the
// bytes are valid UTF-8, else Windows-1252.
QString decodeText(const QByteArray& bytes);

// Decodes bytes as Windows-1252, including the 0x80-0x9F range (euro sign,
// typographic quotes, oe ligature...). The five bytes that the code page
// leaves undefined map to the C1 control of the same value, as Windows does.
QString decodeWindows1252(const QByteArray& bytes);

// Every line break (CR LF, LF or a lone CR) written as CR LF; the last line
// gets one too unless the text is empty.
QString normalizeLineBreaks(const QString& text);

// Splits a text into lines on CR LF, LF or a lone CR. A line break at the
// very end does not make an extra empty line.
QStringList splitTextLines(const QString& text);

// The whole file decoded as above; an empty text when the file cannot be
// read, with *ok set to false.
QString readTextFile(const QString& path, bool* ok = nullptr);

// The file's lines (see splitTextLines); empty when it cannot be read.
QStringList readTextLines(const QString& path, bool* ok = nullptr);

// Replaces the file with the text as CR LF lines in UTF-8 without a
// byte-order mark. The file is written under a temporary name and renamed,
// so a failure leaves the previous file intact and gives its reason.
FileResult writeTextFile(const QString& path, const QString& text);
FileResult writeTextLines(const QString& path, const QStringList& lines);

} // namespace tav
