#pragma once

#include "result.h"

#include <QByteArray>
#include <QString>

// The text of a file a person hands over to be read: UTF-8 (with or without
// a byte order mark) is tried first, then UTF-16 or UTF-32 where a byte
// order mark says so, then the encoding of the user's locale.
namespace shelvio::exchange {

// The encoding of the user's locale, by name ("UTF-8", "ISO-8859-1", ...).
QByteArray localeEncoding();

// Fails with words for the user on an empty file, on bytes that are text in
// neither encoding, and on text that holds NUL characters (a binary file).
Result<QString> decodeText(const QByteArray& bytes, const QByteArray& fallbackEncoding);

Result<QString> readTextFile(const QString& path, const QByteArray& fallbackEncoding = localeEncoding());

// The whole content of a file, or why it cannot be read (the file's name
// included).
Result<QByteArray> readWholeFile(const QString& path);

} // namespace shelvio::exchange
