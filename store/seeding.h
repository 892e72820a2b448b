#pragma once

#include "book.h"
#include "result.h"

#include <QList>
#include <QString>

#include <memory>

namespace shelvio {

// Fills a catalogue in bulk, for tests and the benchmark's generator:
// everything added goes into one transaction, written with one sync at
// commit(). The editor never uses it; it saves one book at a time.
class CatalogueSeeder {
public:
    // Opens the catalogue at `path`, creating it with the full schema when
    // it is missing, and begins the transaction.
    explicit CatalogueSeeder(const QString& path);
    // Without commit(), nothing that was added stays.
    ~CatalogueSeeder();
    CatalogueSeeder(const CatalogueSeeder&) = delete;
    CatalogueSeeder& operator=(const CatalogueSeeder&) = delete;

    // Whether the catalogue is open and every step so far succeeded.
    const Status& status() const { return m_status; }

    Result<qint64> addCategory(const QString& name);
    // Adds the book with its number when it has one, its sort title as given
    // (formed from the title when empty), linked to the categories by
    // number. Its category names are not looked at.
    Result<qint64> addBook(const Book& book, const QList<qint64>& categoryIds = {});
    Status commit();

private:
    struct Work;
    std::unique_ptr<Work> m_work;
    Status m_status;
};

} // namespace shelvio
