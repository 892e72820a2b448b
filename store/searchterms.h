#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// What a person types to find books, read as words and quoted phrases, and
// where those occur in a text. Words compare as the orderings compare names:
// letter case and accents set aside (textfold.h). Pure functions: no
// database, no widgets.
namespace shelvio {

// A word, or a run of words that must stand together in this order.
struct SearchPhrase {
    QString typed;     // as typed, without the quotes
    QStringList words; // folded, in order
    // The last word may be the start of a longer one: so while a word is
    // being typed, and for every word outside quotes. A closed quote asks
    // for its words exactly.
    bool lastWordIsPrefix = true;
    bool operator==(const SearchPhrase&) const = default;
};

// Every phrase must be found, each in any one field.
struct SearchTerms {
    QList<SearchPhrase> phrases;
    bool isEmpty() const { return phrases.isEmpty(); }
    bool operator==(const SearchTerms&) const = default;
};

// Blanks separate words; "double quotes" hold a phrase, and an unclosed
// quote runs to the end. Punctuation inside a word splits it into words
// that stand together ("O'Brien" is "o" then "brien"). Text without any
// letter or digit gives no phrase.
SearchTerms searchTerms(QStringView typed);

// A stretch of a text, in characters of the text as it is stored.
struct TextRange {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const TextRange&) const = default;
};

// Where the phrases occur in the text, each from the start of a word to the
// end of its last word (a word begun is marked whole); in text order,
// overlapping stretches joined.
QList<TextRange> matchedRanges(QStringView text, const SearchTerms& terms);

bool phraseOccursIn(const SearchPhrase& phrase, QStringView text);

} // namespace shelvio
