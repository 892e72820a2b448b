#include "searchterms.h"

#include "textfold.h"

#include <algorithm>

namespace shelvio {

namespace {

struct Word {
    qsizetype start = 0;
    qsizetype end = 0;
    QString folded;
};

// The length of the character at `at`: two for a surrogate pair.
qsizetype characterLength(QStringView text, qsizetype at)
{
    const bool pair = text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
    return pair ? 2 : 1;
}

bool isWordCharacter(QStringView text, qsizetype at)
{
    const char32_t c = characterLength(text, at) == 2 ? QChar::surrogateToUcs4(text[at], text[at + 1])
                                                      : char32_t(text[at].unicode());
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

// The words of a text: runs of letters, digits and the accents on them.
QList<Word> wordsOf(QStringView text)
{
    QList<Word> words;
    qsizetype at = 0;
    while (at < text.size()) {
        if (!isWordCharacter(text, at)) {
            at += characterLength(text, at);
            continue;
        }
        qsizetype end = at;
        while (end < text.size() && isWordCharacter(text, end))
            end += characterLength(text, end);
        QString folded = sortKey(text.sliced(at, end - at));
        if (!folded.isEmpty())
            words.append(Word{at, end, std::move(folded)});
        at = end;
    }
    return words;
}

// Whether the phrase stands in `words` from `first` on.
bool phraseAt(const SearchPhrase& phrase, const QList<Word>& words, qsizetype first)
{
    const qsizetype count = phrase.words.size();
    if (first + count > words.size())
        return false;
    for (qsizetype i = 0; i < count; ++i) {
        const QString& word = words[first + i].folded;
        const QString& wanted = phrase.words[i];
        const bool prefix = phrase.lastWordIsPrefix && i == count - 1;
        if (prefix ? !word.startsWith(wanted) : word != wanted)
            return false;
    }
    return true;
}

void addPhrase(SearchTerms& terms, QStringView text, bool lastWordIsPrefix)
{
    SearchPhrase phrase;
    for (const Word& word : wordsOf(text))
        phrase.words << word.folded;
    if (phrase.words.isEmpty())
        return;
    phrase.typed = text.trimmed().toString();
    phrase.lastWordIsPrefix = lastWordIsPrefix;
    terms.phrases << phrase;
}

} // namespace

SearchTerms searchTerms(QStringView typed)
{
    SearchTerms terms;
    qsizetype at = 0;
    while (at < typed.size()) {
        if (typed[at].isSpace()) {
            ++at;
        } else if (typed[at] == u'"') {
            const qsizetype close = typed.indexOf(u'"', at + 1);
            const qsizetype end = close < 0 ? typed.size() : close;
            addPhrase(terms, typed.sliced(at + 1, end - at - 1), close < 0);
            at = end + 1;
        } else {
            qsizetype end = at;
            while (end < typed.size() && !typed[end].isSpace() && typed[end] != u'"')
                ++end;
            addPhrase(terms, typed.sliced(at, end - at), true);
            at = end;
        }
    }
    return terms;
}

QList<TextRange> matchedRanges(QStringView text, const SearchTerms& terms)
{
    const QList<Word> words = wordsOf(text);
    QList<TextRange> found;
    for (const SearchPhrase& phrase : terms.phrases) {
        for (qsizetype first = 0; first < words.size(); ++first) {
            if (phraseAt(phrase, words, first)) {
                const qsizetype end = words[first + phrase.words.size() - 1].end;
                found.append({words[first].start, end - words[first].start});
            }
        }
    }
    std::sort(found.begin(), found.end(),
              [](const TextRange& a, const TextRange& b) { return a.start < b.start; });
    QList<TextRange> joined;
    for (const TextRange& range : found) {
        if (!joined.isEmpty() && range.start <= joined.last().start + joined.last().length) {
            TextRange& last = joined.last();
            last.length = std::max(last.start + last.length, range.start + range.length) - last.start;
        } else {
            joined.append(range);
        }
    }
    return joined;
}

bool phraseOccursIn(const SearchPhrase& phrase, QStringView text)
{
    const QList<Word> words = wordsOf(text);
    for (qsizetype first = 0; first < words.size(); ++first) {
        if (phraseAt(phrase, words, first))
            return true;
    }
    return false;
}

} // namespace shelvio
