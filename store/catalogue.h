#pragma once

#include "book.h"
#include "booklisting.h"
#include "result.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSqlDatabase;

namespace shelvio {

// How a catalogue file is opened.
enum class Access { ReadWrite, ReadOnly };

// The width of the text columns, and of a category name.
inline constexpr int textColumnWidth = 255;
inline constexpr int categoryNameWidth = 50;

// What an import left in the catalogue.
struct ImportOutcome {
    qint64 booksAdded = 0;
    qint64 categoriesCreated = 0;
    bool cancelled = false; // stopped on request: nothing was written
};

// Told now and then how many books an import has added so far; answers
// false to stop it.
using ImportProgress = std::function<bool(qint64 booksAdded)>;

// The editor's one connection to the catalogue file and every read and write
// it makes. Each answer is a value or an Error; nothing here talks to the
// user.
class Catalogue {
public:
    enum class OpenStatus {
        Opened,        // an existing catalogue, writable
        Created,       // the file was missing and now holds an empty catalogue
        ReadOnly,      // an existing catalogue that can only be read
        NotACatalogue, // left untouched; openProblem() says why
        LegacyFormat,  // a Jet file from the older program; left untouched
        Failed,        // could not be opened or created; openProblem() says why
    };

    Catalogue();
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Opens the file, creating it with the full schema when it is missing.
    // Access::ReadOnly opens it for browsing even where it could be written.
    // A writable catalogue whose search index is missing or behind has it
    // built here (see CatalogueSearch); should that fail, the catalogue
    // still opens and the search tries again.
    OpenStatus open(const QString& path, Access access = Access::ReadWrite);
    // Why the last open() gave NotACatalogue or Failed, in words for the user.
    QString openProblem() const;
    void close();

    bool isOpen() const;
    bool isReadOnly() const;
    QString path() const;

    // Reading. Each query is read once, front to back.
    // The count is counted again only when another program has changed the
    // file since it was last taken (SQLite's data_version tells); this
    // catalogue's own saves and deletes keep it up to date.
    Result<qint64> bookCount();
    // The tree's orderings (see booklisting.h), each read afresh.
    Result<BookListing> booksByTitle();
    Result<BookListing> booksByAuthor();
    Result<BookListing> booksByCategory();
    Result<QStringList> categoryNames();
    // The book with its categories; NotFound when no such book is on file.
    Result<Book> loadBook(qint64 id);

    // Writing. Each runs in one transaction and leaves the file as it was when
    // it fails.
    // Inserts (no id) or updates the book and rewrites its category links to
    // book.categories (names no longer on file are left out). Returns the
    // book as stored: its number and its sort title. Updating a book that is
    // no longer on file writes nothing and gives NotFound.
    Result<Book> saveBook(const Book& book);
    Status deleteBook(qint64 id);
    Result<bool> categoryNameOnFile(const QString& name);
    Status addCategory(const QString& name);
    // Books that use the category of exactly this name.
    Result<qint64> booksUsingCategory(const QString& name);
    // Deletes the category of exactly this name with its links; NotFound
    // when no such category is on file.
    Status deleteCategory(const QString& name);

    // Bringing books in and taking them out.
    // Every book with its categories (in the order of the category lists),
    // by number, all read in one go from the same state of the file.
    Status forEachBook(const std::function<void(const Book&)>& book);
    // The title and names of every book, for telling which books of a file
    // are on file already.
    Status forEachTitleAndAuthor(const std::function<void(const QString& title, const QString& author,
                                                          const QString& firstName)>& row);
    // Adds the books in one transaction, each with a new number and its sort
    // title formed from its title, as a save does. A category is taken by
    // name: one on file whose name differs only in letter case is used, any
    // other is created. When a step fails, or `progress` answers false,
    // nothing stays.
    Result<ImportOutcome> importBooks(const std::vector<Book>& books, const ImportProgress& progress = {});

    // Copies the catalogue file, as last committed, over `target` (see
    // copyFileAtomically). SQLite's read lock is held for the whole copy, so
    // that no other program can write a change into the file half-way
    // through it.
    Status copyFileTo(const QString& target);

private:
    friend class CatalogueSearch; // searches over the same connection
    struct Connection;
    const QSqlDatabase& db() const;
    OpenStatus refuse(OpenStatus status, const QString& problem);
    OpenStatus createNew(const QString& path);
    Status writable() const;
    Result<qint64> categoryId(const QString& name);
    Status writeCategoryLinks(qint64 bookId, const QStringList& categoryNames);
    Result<qint64> dataVersion();
    Result<BookListing> keepingCount(Result<BookListing> (*read)(const QSqlDatabase&));
    void countChanged(qint64 by);

    std::unique_ptr<Connection> m_connection;
    QString m_path;
    QString m_openProblem;
    bool m_readOnly = false;
    // The number of books, and the file's data_version when it was taken.
    struct KnownCount {
        qint64 books;
        qint64 version;
    };
    std::optional<KnownCount> m_knownCount;
};

} // namespace shelvio
