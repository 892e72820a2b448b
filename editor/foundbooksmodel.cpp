#include "foundbooksmodel.h"

#include "cataloguesearch.h"
#include "nameforms.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// "Last, First", or whichever of the two there is.
QString nameLine(const Book& book)
{
    const QString last = trimBlanks(book.author);
    const QString first = trimBlanks(book.firstName);
    if (last.isEmpty() || first.isEmpty())
        return last + first;
    return last + u", "_s + first;
}

// The phrases that neither the title nor the name shows.
SearchTerms unshownPhrases(const SearchTerms& terms, const QString& title, const QString& name)
{
    SearchTerms unshown;
    for (const SearchPhrase& phrase : terms.phrases) {
        if (!phraseOccursIn(phrase, title) && !phraseOccursIn(phrase, name))
            unshown.phrases << phrase;
    }
    return unshown;
}

QList<TextRange> shifted(const QList<TextRange>& marks, qsizetype by)
{
    QList<TextRange> moved;
    for (const TextRange& mark : marks)
        moved.append({mark.start + by, mark.length});
    return moved;
}

// A piece of the comments, on one line, from shortly before the first mark.
void setCommentsPiece(FoundBookLines& lines, const QString& comments, const QList<TextRange>& marks)
{
    constexpr qsizetype before = 30;
    constexpr qsizetype length = 120;
    QString flat = comments;
    for (QChar& c : flat) {
        if (c.isSpace())
            c = u' ';
    }
    qsizetype start = std::max<qsizetype>(0, marks.first().start - before);
    if (const qsizetype blank = flat.indexOf(u' ', start);
        start > 0 && blank >= 0 && blank < marks.first().start)
        start = blank + 1; // begin with a whole word
    const qsizetype end =
        std::min(flat.size(), std::max(start + length, marks.first().start + marks.first().length));
    const QString opening = u"Comments: "_s + (start > 0 ? u"…"_s : QString());
    lines.detail = opening + flat.sliced(start, end - start) + (end < flat.size() ? u"…"_s : QString());
    for (const TextRange& mark : marks) {
        const qsizetype from = std::max(mark.start, start);
        const qsizetype to = std::min(mark.start + mark.length, end);
        if (from < to)
            lines.detailMarks.append({opening.size() + from - start, to - from});
    }
}

void setCategories(FoundBookLines& lines, const QStringList& categories, const SearchTerms& unshown)
{
    QStringList holding;
    for (const QString& category : categories) {
        if (!matchedRanges(category, unshown).isEmpty())
            holding << category;
    }
    if (holding.isEmpty())
        return;
    const QString opening = holding.size() == 1 ? u"Category: "_s : u"Categories: "_s;
    const QString names = holding.join(u", "_s);
    lines.detail = opening + names;
    lines.detailMarks = shifted(matchedRanges(names, unshown), opening.size());
}

} // namespace

FoundBookLines foundBookLines(const Book& book, const SearchTerms& terms)
{
    FoundBookLines lines;
    lines.title = book.title;
    lines.titleMarks = matchedRanges(book.title, terms);
    const QString name = nameLine(book);
    lines.byline = name;
    if (book.yearPublished)
        lines.byline += (name.isEmpty() ? QString() : u" · "_s) + QString::number(*book.yearPublished);
    lines.bylineMarks = matchedRanges(name, terms);
    const SearchTerms unshown = unshownPhrases(terms, book.title, name);
    if (unshown.isEmpty())
        return lines;
    if (const QList<TextRange> marks = matchedRanges(book.comments, unshown); !marks.isEmpty())
        setCommentsPiece(lines, book.comments, marks);
    else
        setCategories(lines, book.categories, unshown);
    return lines;
}

FoundBooksModel::FoundBooksModel(CatalogueSearch& search, QObject* parent)
    : QAbstractListModel(parent)
    , m_search(search)
{
}

void FoundBooksModel::show(const QList<qint64>& bookIds, const SearchTerms& terms)
{
    beginResetModel();
    m_ids = bookIds;
    m_terms = terms;
    m_books.clear();
    m_nextToRead = 0;
    m_problem.clear();
    endResetModel();
    fetchMore({});
}

std::optional<qint64> FoundBooksModel::bookIdAt(int row) const
{
    if (row < 0 || row >= m_books.size())
        return std::nullopt;
    return m_books.at(row).id;
}

int FoundBooksModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_books.size());
}

QVariant FoundBooksModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_books.size())
        return {};
    const Book& book = m_books.at(index.row());
    if (role == Qt::DisplayRole)
        return book.title;
    if (role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
        const FoundBookLines lines = foundBookLines(book, m_terms);
        QStringList parts{lines.title, lines.byline, lines.detail};
        parts.removeAll(QString());
        return parts.join(u"; "_s);
    }
    return {};
}

bool FoundBooksModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_nextToRead < m_ids.size();
}

void FoundBooksModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const QList<qint64> page = m_ids.mid(m_nextToRead, pageSize);
    m_nextToRead += page.size();
    const Result<QList<Book>> read = m_search.books(page);
    if (!read) {
        m_problem = read.error().text();
        m_nextToRead = m_ids.size(); // a list that ends here says less than one that fails on every scroll
        return;
    }
    if (read->isEmpty())
        return;
    beginInsertRows({}, int(m_books.size()), int(m_books.size() + read->size() - 1));
    m_books << *read;
    endInsertRows();
}

} // namespace shelvio
