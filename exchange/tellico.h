#pragma once

#include "importrecord.h"
#include "result.h"

#include <QByteArray>
#include <QList>

// Tellico's collection file (.tc): a zip archive holding tellico.xml, or in
// older files the XML alone. Book collections and bibliographies are read:
// title, the first author, pub_year, pages, rating (1 to 5 stars),
// pur_price, read, loaned (a book lent out is one's own), comments, and the
// genres and keywords as categories.
namespace shelvio::exchange {

// Whether the bytes begin as a zip archive or as XML.
bool looksLikeTellico(const QByteArray& bytes);

// The books of the collection, each with the line of tellico.xml on which
// it begins. Fails with words for the user on a damaged archive, XML that
// cannot be read and XML that is not a book collection.
Result<QList<ImportRecord>> readTellico(const QByteArray& bytes);

} // namespace shelvio::exchange
