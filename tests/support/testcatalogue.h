#pragma once

#include "book.h"
#include "catalogue.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>

// Fails the test with the store's own words when a store call gave an error.
// The call is made once.
#define VERIFY_OK(call)                                                                                      \
    do {                                                                                                     \
        const auto& verifiedResult = (call);                                                                 \
        QVERIFY2(verifiedResult.ok(), qPrintable(verifiedResult.error().text()));                            \
    } while (false)

namespace testing {

// A catalogue file in a temporary folder of its own, created empty with the
// full schema. The folder goes when the object does.
class TestCatalogue {
public:
    TestCatalogue();
    ~TestCatalogue();

    QString folder() const { return m_dir.path(); }
    QString path() const;

    // Adds through the store, as the editor would, with the book's
    // categories; returns the book number.
    qint64 addBook(const shelvio::Book& book);
    qint64 addBook(const QString& title, const QString& author = {}, const QString& firstName = {},
                   const QStringList& categories = {});
    void addCategory(const QString& name);
    // Fills the catalogue in bulk, in one transaction: the books
    // makeBook(0) to makeBook(count - 1), without categories.
    void addManyBooks(int count, const std::function<shelvio::Book(int i)>& makeBook);

    // Direct access for setting up rows the editor would never write and for
    // checking what was stored.
    QVariant scalar(const QString& sql, const QVariantList& values = {}) const;
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {}) const;
    void exec(const QString& sql, const QVariantList& values = {}) const;

    // The file's bytes, for checks that something was left untouched.
    QByteArray bytes() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<shelvio::Catalogue> m_catalogue;
};

// The categories of a book as the catalogue loads it, or the store's words
// when it cannot, so that a comparison shows what went wrong.
QStringList categoriesOf(shelvio::Catalogue& catalogue, qint64 id);

// One row of a tree ordering, with the name of the run it stands in (the
// category, or the last name) where the ordering has runs.
struct ListedRow {
    qint64 id = 0;
    QString sortTitle;
    QString runName;
};
// The rows of a listing in order; a failed read gives one row with the
// store's words as its title, so that a comparison shows what went wrong.
QList<ListedRow> listedRows(const shelvio::Result<shelvio::BookListing>& listing);
QStringList listedTitles(const shelvio::Result<shelvio::BookListing>& listing);

// A minimal book with the given title and names.
shelvio::Book book(const QString& title, const QString& author = {}, const QString& firstName = {});

// A connection of its own to the file, as another SQLite tool would open it;
// the test stops when it cannot be opened. Close it with closeConnection().
QSqlDatabase openOrStop(const QString& path);

// Runs a statement on a file through a connection of its own.
QList<QVariantList> queryFile(const QString& path, const QString& sql, const QVariantList& values = {});

// Runs SQL (one or more statements) on a file as a plain SQLite tool does:
// through SQLite alone, without the functions the programs add to their
// connections. Gives SQLite's words on failure, empty text on success.
QString runAsPlainSqliteTool(const QString& path, const QString& sql);

QString fixturesFolder();

// Copies a file of the fixtures folder (path relative to it) to toPath, as an
// ordinary writable file, and returns toPath. The fixtures themselves are
// never written.
QString copyFixture(const QString& relativePath, const QString& toPath);

// The whole content of a file, empty when it cannot be read.
QByteArray fileBytes(const QString& path);
// Replaces a file's content; the test stops when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace testing
