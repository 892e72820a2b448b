#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// How the catalogue compares names and titles, in one place for the database
// functions, the tree and the category lists.
namespace shelvio {

// Text for ordering: letter case ignored and accents set aside, so that
// "émile", "Emile" and "EMILE" sort together and "art" comes before "Zoology".
// Blanks at either end do not count.
// Equal keys are broken by the exact text or the row's key by the caller.
QString sortKey(QStringView text);

// The sort key of UTF-8 text, in UTF-8, appended to `key`: what sortKey()
// gives, in the form SQLite compares text in. Keys compared byte by byte
// (code point by code point) order their texts.
void appendSortKeyUtf8(std::string_view text, std::string* key);

// Text for equality without regard to letter case, also for non-ASCII letters
// ("émile" equals "Émile"); accents still count ("Emile" differs from "Émile").
QString caseFold(QStringView text);

// Orders two names the way every list of the catalogue does: by sortKey, then
// by the exact text so that names equal but for case never interleave.
bool lessForDisplay(const QString& a, const QString& b);

} // namespace shelvio
