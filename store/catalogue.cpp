#include "catalogue.h"

#include "cataloguefiles.h"
#include "fileformat.h"
#include "nameforms.h"
#include "numbers.h"
#include "schema.h"
#include "statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

QVariant nullable(const std::optional<qint64>& value)
{
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::LongLong));
}

bool canWriteFileAndFolder(const QString& path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    return file.isWritable() && folder.isWritable();
}

} // namespace

Catalogue::~Catalogue()
{
    close();
}

void Catalogue::close()
{
    if (m_db.isValid())
        closeConnection(m_db);
}

Catalogue::OpenStatus Catalogue::open(const QString& path, Access access)
{
    close();
    m_path = path;
    m_lastError.clear();
    m_readOnly = false;
    switch (detectFileKind(path)) {
    case FileKind::Missing:
        return createNew(path);
    case FileKind::Unreadable:
        m_lastError = u"The file cannot be read."_s;
        return OpenStatus::Failed;
    case FileKind::Jet:
        return OpenStatus::LegacyFormat;
    case FileKind::Empty:
        m_lastError = u"The file is empty."_s;
        return OpenStatus::NotACatalogue;
    case FileKind::Other:
        m_lastError = u"It is not an SQLite database."_s;
        return OpenStatus::NotACatalogue;
    case FileKind::SQLite:
        break;
    }
    // Look before writing anything: a file that is not a catalogue is never
    // opened for writing.
    QString problem;
    if (!isCatalogueFile(path, &problem)) {
        m_lastError = problem;
        return OpenStatus::NotACatalogue;
    }
    m_readOnly = access == Access::ReadOnly || !canWriteFileAndFolder(path);
    m_db = openConnection(path, m_readOnly ? Access::ReadOnly : Access::ReadWrite, &m_lastError);
    if (!m_db.isOpen())
        return OpenStatus::Failed;
    return m_readOnly ? OpenStatus::ReadOnly : OpenStatus::Opened;
}

bool Catalogue::isCatalogueFile(const QString& path, QString* problem)
{
    QSqlDatabase db = openConnection(path, Access::ReadOnly, problem);
    if (!db.isOpen())
        return false;
    bool ok = false;
    {
        QSqlQuery query(db);
        if (!query.exec(u"SELECT count(*) FROM sqlite_master"_s))
            *problem = query.lastError().text();
        else
            ok = schema::verify(db, problem);
    }
    closeConnection(db);
    return ok;
}

bool Catalogue::copyFileTo(const QString& target, QString* error)
{
    if (!m_db.isOpen())
        return copyFileAtomically(m_path, target, error);
    // A read inside a transaction takes the shared lock and keeps it to the
    // end of the transaction; a writer must wait for it to go before it may
    // touch the file.
    if (!m_db.transaction()) {
        *error = m_db.lastError().text();
        return false;
    }
    QSqlQuery lock(m_db);
    if (!lock.exec(QString::fromLatin1(sql::countBooks)) || !lock.next()) {
        *error = u"%1 cannot be read: %2"_s.arg(QDir::toNativeSeparators(m_path), lock.lastError().text());
        m_db.rollback();
        return false;
    }
    const bool copied = copyFileAtomically(m_path, target, error);
    lock.finish();
    m_db.rollback(); // the transaction only read
    return copied;
}

Catalogue::OpenStatus Catalogue::createNew(const QString& path)
{
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable()) {
        m_lastError = u"The folder %1 cannot be written to."_s.arg(
            QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
        return OpenStatus::Failed;
    }
    m_db = openConnection(path, Access::ReadWrite, &m_lastError);
    if (m_db.isOpen() && schema::create(m_db, &m_lastError))
        return OpenStatus::Created;
    close();
    QFile::remove(path); // only what this call itself made
    return OpenStatus::Failed;
}

bool Catalogue::fail(const QSqlQuery& query)
{
    return fail(query.lastError().text());
}

bool Catalogue::fail(const QString& message)
{
    m_lastError = message;
    return false;
}

bool Catalogue::prepare(QSqlQuery& query, const char* statement)
{
    query.setForwardOnly(true);
    return query.prepare(QString::fromLatin1(statement)) || fail(query);
}

bool Catalogue::run(QSqlQuery& query)
{
    return query.exec() || fail(query);
}

bool Catalogue::next(QSqlQuery& query)
{
    if (query.next())
        return true;
    if (query.lastError().type() != QSqlError::NoError)
        fail(query);
    return false;
}

std::optional<qint64> Catalogue::bookCount()
{
    QSqlQuery query(m_db);
    if (!prepare(query, sql::countBooks) || !run(query) || !next(query))
        return std::nullopt;
    return query.value(0).toLongLong();
}

bool Catalogue::forEachBookByTitle(const std::function<void(qint64, const QString&)>& row)
{
    QSqlQuery query(m_db);
    if (!prepare(query, sql::booksByTitle) || !run(query))
        return false;
    while (query.next())
        row(query.value(0).toLongLong(), query.value(1).toString());
    return query.lastError().type() == QSqlError::NoError || fail(query);
}

bool Catalogue::forEachBookByAuthor(
    const std::function<void(qint64, const QString&, const QString&, const QString&)>& row)
{
    QSqlQuery query(m_db);
    if (!prepare(query, sql::booksByAuthor) || !run(query))
        return false;
    while (query.next()) {
        row(query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
            query.value(3).toString());
    }
    return query.lastError().type() == QSqlError::NoError || fail(query);
}

bool Catalogue::forEachBookByCategory(const std::function<void(qint64, const QString&, const QString&)>& row)
{
    QSqlQuery query(m_db);
    if (!prepare(query, sql::booksByCategory) || !run(query))
        return false;
    while (query.next())
        row(query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString());
    return query.lastError().type() == QSqlError::NoError || fail(query);
}

std::optional<QStringList> Catalogue::categoryNames()
{
    QSqlQuery query(m_db);
    if (!prepare(query, sql::categoryNames) || !run(query))
        return std::nullopt;
    QStringList names;
    while (next(query))
        names << query.value(0).toString();
    if (query.lastError().type() != QSqlError::NoError)
        return std::nullopt;
    return names;
}

std::optional<BookRecord> Catalogue::loadBook(qint64 id)
{
    m_lastError.clear();
    QSqlQuery query(m_db);
    if (!prepare(query, sql::bookById))
        return std::nullopt;
    query.addBindValue(id);
    if (!run(query) || !next(query))
        return std::nullopt;
    BookRecord book;
    book.id = query.value(0).toLongLong();
    book.title = query.value(1).toString();
    book.author = query.value(2).toString();
    book.firstName = query.value(3).toString();
    book.yearPublished = storedNumber(query.value(4));
    book.pages = storedNumber(query.value(5));
    book.costUnits = storedCostUnits(query.value(6));
    book.dateRead = query.value(7).toString();
    book.comments = query.value(8).toString();
    book.rating = storedNumber(query.value(9));
    book.wantToBuy = query.value(10).toBool();
    book.ownBook = query.value(11).toBool();
    book.readBook = query.value(12).toBool();
    book.wantToRead = query.value(13).toBool();
    return book;
}

std::optional<QStringList> Catalogue::categoryNamesOfBook(qint64 id)
{
    QSqlQuery query(m_db);
    if (!prepare(query, sql::categoryNamesOfBook))
        return std::nullopt;
    query.addBindValue(id);
    if (!run(query))
        return std::nullopt;
    QStringList names;
    while (next(query))
        names << query.value(0).toString();
    if (query.lastError().type() != QSqlError::NoError)
        return std::nullopt;
    return names;
}

bool Catalogue::beginWrite()
{
    m_lastError.clear();
    if (m_readOnly)
        return fail(u"The catalogue is open read-only."_s);
    return m_db.transaction() || fail(m_db.lastError().text());
}

bool Catalogue::commitWrite()
{
    if (m_db.commit())
        return true;
    fail(m_db.lastError().text());
    m_db.rollback();
    return false;
}

std::optional<qint64> Catalogue::categoryId(const QString& name)
{
    QSqlQuery query(m_db);
    if (!prepare(query, sql::categoryIdByName))
        return std::nullopt;
    query.addBindValue(name);
    if (!run(query) || !next(query))
        return std::nullopt;
    return query.value(0).toLongLong();
}

bool Catalogue::writeCategoryLinks(qint64 bookId, const QStringList& categoryNames)
{
    QSqlQuery insert(m_db);
    if (!prepare(insert, sql::insertLink))
        return false;
    for (const QString& name : categoryNames) {
        const auto id = categoryId(name);
        if (!id) {
            if (!m_lastError.isEmpty())
                return false;
            continue; // no longer on file: nothing to link to
        }
        insert.bindValue(0, bookId);
        insert.bindValue(1, *id);
        if (!run(insert))
            return false;
    }
    return true;
}

std::optional<qint64> Catalogue::saveBook(const BookRecord& book, const QStringList& categoryNames)
{
    if (!beginWrite())
        return std::nullopt;
    const auto failed = [this]() -> std::optional<qint64> {
        m_db.rollback();
        return std::nullopt;
    };
    QSqlQuery write(m_db);
    if (!prepare(write, book.id ? sql::updateBook : sql::insertBook))
        return failed();
    const QVariantList values{book.title,
                              book.author,
                              nullable(book.yearPublished),
                              book.rating.value_or(0),
                              book.dateRead,
                              book.comments,
                              book.costUnits ? QVariant(amountFromCostUnits(*book.costUnits))
                                             : QVariant(QMetaType(QMetaType::Double)),
                              int(book.wantToBuy),
                              int(book.ownBook),
                              nullable(book.pages),
                              int(book.readBook),
                              int(book.wantToRead),
                              book.firstName,
                              sortTitle(book.title)};
    for (const QVariant& value : values)
        write.addBindValue(value);
    if (book.id)
        write.addBindValue(*book.id);
    if (!run(write))
        return failed();
    if (book.id && write.numRowsAffected() == 0) {
        // Another program has deleted the book: nothing to update, and no
        // link may be written for it. An empty lastError() says so.
        m_lastError.clear();
        return failed();
    }
    const qint64 id = book.id ? *book.id : write.lastInsertId().toLongLong();
    write.finish();

    QSqlQuery unlink(m_db);
    if (!prepare(unlink, sql::deleteLinksOfBook))
        return failed();
    unlink.addBindValue(id);
    if (!run(unlink) || !writeCategoryLinks(id, categoryNames) || !commitWrite())
        return failed();
    return id;
}

bool Catalogue::deleteBook(qint64 id)
{
    if (!beginWrite())
        return false;
    for (const char* statement : {sql::deleteLinksOfBook, sql::deleteBook}) {
        QSqlQuery query(m_db);
        if (!prepare(query, statement)) {
            m_db.rollback();
            return false;
        }
        query.addBindValue(id);
        if (!run(query)) {
            m_db.rollback();
            return false;
        }
    }
    return commitWrite();
}

std::optional<bool> Catalogue::categoryNameOnFile(const QString& name)
{
    QSqlQuery query(m_db);
    if (!prepare(query, sql::categoryNameOnFile))
        return std::nullopt;
    query.addBindValue(name);
    if (!run(query) || !next(query))
        return std::nullopt;
    return query.value(0).toLongLong() > 0;
}

bool Catalogue::addCategory(const QString& name)
{
    if (name.size() > schema::categoryNameWidth)
        return fail(u"A category name holds at most %1 characters."_s.arg(schema::categoryNameWidth));
    if (!beginWrite())
        return false;
    QSqlQuery query(m_db);
    if (!prepare(query, sql::insertCategory)) {
        m_db.rollback();
        return false;
    }
    query.addBindValue(name);
    if (!run(query)) {
        m_db.rollback();
        return false;
    }
    return commitWrite();
}

std::optional<qint64> Catalogue::booksUsingCategory(const QString& name)
{
    m_lastError.clear();
    const auto id = categoryId(name);
    if (!id)
        return m_lastError.isEmpty() ? std::optional<qint64>(0) : std::nullopt;
    QSqlQuery query(m_db);
    if (!prepare(query, sql::booksUsingCategory))
        return std::nullopt;
    query.addBindValue(*id);
    if (!run(query) || !next(query))
        return std::nullopt;
    return query.value(0).toLongLong();
}

bool Catalogue::deleteCategory(const QString& name)
{
    if (!beginWrite())
        return false;
    const auto id = categoryId(name);
    if (!id) {
        m_db.rollback();
        return false;
    }
    for (const char* statement : {sql::deleteLinksOfCategory, sql::deleteCategory}) {
        QSqlQuery query(m_db);
        if (!prepare(query, statement)) {
            m_db.rollback();
            return false;
        }
        query.addBindValue(*id);
        if (!run(query)) {
            m_db.rollback();
            return false;
        }
    }
    return commitWrite();
}

} // namespace shelvio
