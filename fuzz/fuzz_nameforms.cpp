// The forms the catalogue derives from what the user typed: the sort title,
// the author name, the tree's node keys and the rating's words and boxes.
#include "fuzzinput.h"
#include "nameforms.h"

using namespace Qt::StringLiterals;
using shelvio::fuzzing::FuzzInput;
using shelvio::fuzzing::require;
using shelvio::fuzzing::shown;

namespace {

// Articles in every case, blanks, commas and a few letters beyond Latin-1.
const QString nameAlphabet = u"AaNnTtHhEe ,.-'\t\nÉé\u0301\u05d0\U0001F600"_s;

void checkSortTitle(const QString& title)
{
    const QString sorted = shelvio::sortTitle(title);
    // The article moves behind the rest, which is kept as typed; nothing
    // else changes.
    const struct {
        QString lead, tail;
        Qt::CaseSensitivity cs;
    } articles[] = {{u"A "_s, u", A"_s, Qt::CaseInsensitive},
                    {u"AN "_s, u", An"_s, Qt::CaseInsensitive},
                    {u"The "_s, u", The "_s, Qt::CaseSensitive}};
    for (const auto& article : articles) {
        if (title.startsWith(article.lead, article.cs)) {
            require(sorted == title.mid(article.lead.size()) + article.tail, "article moved to the end",
                    shown(title) + u" -> "_s + shown(sorted));
            return;
        }
    }
    require(sorted == title, "a title without an article stays", shown(title) + u" -> "_s + shown(sorted));
}

void checkAuthorName(const QString& last, const QString& first)
{
    const QString name = shelvio::authorName(last, first);
    const QString trimmedLast = shelvio::trimBlanks(last);
    const QString trimmedFirst = shelvio::trimBlanks(first);
    require(!trimmedLast.startsWith(u' ') && !trimmedLast.endsWith(u' '), "no blank left at the ends",
            shown(last));
    require(shelvio::trimBlanks(trimmedLast) == trimmedLast, "trimming twice changes nothing", shown(last));
    if (trimmedLast.isEmpty() && trimmedFirst.isEmpty()) {
        require(name == u"<Null>, <Null>"_s, "no name at all", shown(name));
        return;
    }
    require(name == trimmedLast + u", "_s + trimmedFirst, "last name, comma, first name",
            shown(last) + u" / "_s + shown(first) + u" -> "_s + shown(name));
}

void checkNodeKeys(qint64 bookId, qint64 rowNumber, const QString& anyKey)
{
    const auto fromTitleKey = shelvio::bookIdFromNodeKey(shelvio::titleNodeKey(bookId), false);
    require(fromTitleKey == bookId, "a title node's key gives its book back",
            shelvio::titleNodeKey(bookId) + u" -> "_s + QString::number(fromTitleKey.value_or(0)));
    const QString categoryKey = shelvio::categoryBookNodeKey(rowNumber, bookId);
    require(shelvio::bookIdFromNodeKey(categoryKey, true) == bookId,
            "a category's book node's key gives its book back", categoryKey);
    // Any other key is read without harm, whatever it holds.
    shelvio::bookIdFromNodeKey(anyKey, false);
    shelvio::bookIdFromNodeKey(anyKey, true);
}

void checkRating(qint64 rating, const QString& words, shelvio::RatingBoxes boxes)
{
    const QString text = shelvio::ratingText(rating);
    require(text.isEmpty() != shelvio::ratingOnScale(rating), "words only for ratings on the scale",
            QString::number(rating));
    if (shelvio::ratingOnScale(rating)) {
        require(shelvio::ratingFromText(text) == rating, "a rating's words give it back", text);
        require(shelvio::ratingFromText(text.toUpper()) == rating, "words read in any case", text);
        require(shelvio::ratingFromBoxes(shelvio::boxesForRating(rating)) == rating,
                "a rating's boxes give it back", QString::number(rating));
    }
    const auto fromWords = shelvio::ratingFromText(words);
    require(!fromWords || *fromWords == 0 || shelvio::ratingOnScale(fromWords),
            "words give a rating on the scale", shown(words));
    const int fromBoxes = shelvio::ratingFromBoxes(boxes);
    require(fromBoxes == 0 || shelvio::ratingOnScale(fromBoxes), "boxes give a rating on the scale",
            QString::number(fromBoxes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    checkSortTitle(input.textOf(nameAlphabet));
    checkSortTitle(input.text());
    const QString last = input.textOf(nameAlphabet);
    checkAuthorName(last, input.text());
    const qint64 bookId = input.number();
    const qint64 rowNumber = input.number();
    checkNodeKeys(bookId, rowNumber, input.textOf(u"TAC~ -0123456789+"_s, 24));
    // Ratings around the scale mostly, any value sometimes.
    const qint64 rating = input.flag() ? input.number() : qint64(input.byte() % 14) - 1;
    const QString words = input.textOf(u"BadFirGoVyExcelnt -–"_s, 32);
    shelvio::RatingBoxes boxes{};
    for (bool& box : boxes)
        box = input.flag();
    checkRating(rating, words, boxes);
    return 0;
}
