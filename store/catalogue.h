#pragma once

#include "bookrecord.h"
#include "connection.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QSqlQuery;

namespace shelvio {

// The editor's one connection to the catalogue file and every read and write
// it makes. Failures come back as a false or empty result, with lastError()
// saying what went wrong; nothing here talks to the user.
class Catalogue {
public:
    enum class OpenStatus {
        Opened,        // an existing catalogue, writable
        Created,       // the file was missing and now holds an empty catalogue
        ReadOnly,      // an existing catalogue that can only be read
        NotACatalogue, // left untouched; message() says why
        LegacyFormat,  // a Jet file from the older program; left untouched
        Failed,        // could not be opened or created; message() says why
    };

    Catalogue() = default;
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Opens the file, creating it with the full schema when it is missing.
    // Access::ReadOnly opens it for browsing even where it could be written.
    OpenStatus open(const QString& path, Access access = Access::ReadWrite);
    void close();

    bool isOpen() const { return m_db.isOpen(); }
    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }
    QString lastError() const { return m_lastError; }

    // Reading. Each query is read once, front to back.
    std::optional<qint64> bookCount();
    bool forEachBookByTitle(const std::function<void(qint64 id, const QString& sortTitle)>& row);
    bool forEachBookByAuthor(const std::function<void(qint64 id, const QString& sortTitle,
                                                      const QString& author, const QString& firstName)>& row);
    bool forEachBookByCategory(
        const std::function<void(qint64 id, const QString& sortTitle, const QString& category)>& row);
    std::optional<QStringList> categoryNames();
    // The book, or nothing: then lastError() is empty when no such book exists.
    std::optional<BookRecord> loadBook(qint64 id);
    std::optional<QStringList> categoryNamesOfBook(qint64 id);

    // Writing. Each runs in one transaction and leaves the file as it was when
    // it fails.
    // Inserts (no id) or updates the book and rewrites its category links;
    // returns the book's number. Updating a book that is no longer on file
    // writes nothing and fails with an empty lastError().
    std::optional<qint64> saveBook(const BookRecord& book, const QStringList& categoryNames);
    bool deleteBook(qint64 id);
    std::optional<bool> categoryNameOnFile(const QString& name);
    bool addCategory(const QString& name);
    // Books that use the category of exactly this name.
    std::optional<qint64> booksUsingCategory(const QString& name);
    // Deletes the category of exactly this name with its links; false with an
    // empty lastError() when no such category is on file.
    bool deleteCategory(const QString& name);

    // Copies the catalogue file, as last committed, over `target` (see
    // copyFileAtomically). SQLite's read lock is held for the whole copy, so
    // that no other program can write a change into the file half-way
    // through it. On failure *error names the file and the cause.
    bool copyFileTo(const QString& target, QString* error);

    // Whether an SQLite file holds the catalogue's tables; *problem says what
    // is missing or wrong. Reads only.
    static bool isCatalogueFile(const QString& path, QString* problem);

private:
    OpenStatus createNew(const QString& path);
    bool fail(const QSqlQuery& query);
    bool fail(const QString& message);
    bool run(QSqlQuery& query);
    // The next row; false at the end and on a failure, which sets lastError().
    bool next(QSqlQuery& query);
    bool prepare(QSqlQuery& query, const char* statement);
    bool beginWrite();
    bool commitWrite();
    std::optional<qint64> categoryId(const QString& name);
    bool writeCategoryLinks(qint64 bookId, const QStringList& categoryNames);

    QSqlDatabase m_db;
    QString m_path;
    QString m_lastError;
    bool m_readOnly = false;
};

} // namespace shelvio
