#include "catalogue.h"

#include "bookrows.h"
#include "cataloguefiles.h"
#include "cataloguelocation.h"
#include "connection.h"
#include "fileformat.h"
#include "nameforms.h"
#include "numbers.h"
#include "schema.h"
#include "searchindex.h"
#include "statement.h"
#include "statements.h"
#include "treelistings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

bool canWriteFileAndFolder(const QString& path)
{
    return pathIsWritable(path) && pathIsWritable(QFileInfo(path).absolutePath());
}

// A lone half of a surrogate pair cannot be written as UTF-8: SQLite would
// be given a stand-in character, and the book would come back changed.
Status storableText(const Book& book)
{
    for (const QString* text : {&book.title, &book.author, &book.firstName, &book.dateRead, &book.comments}) {
        if (!text->isValidUtf16())
            return Error::failed(u"The text \"%1\" holds a character that cannot be stored (half of a "
                                 u"surrogate pair). Please type it again."_s.arg(text->left(40)));
    }
    return {};
}

} // namespace

// The one connection, kept out of the header so that no user of the store
// sees Qt SQL. Not copyable: a copy's end would close the connection under
// the original.
struct Catalogue::Connection {
    explicit Connection(QSqlDatabase opened)
        : db(std::move(opened))
    {
    }
    ~Connection() { closeConnection(db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase db;
};

Catalogue::Catalogue() = default;

const QSqlDatabase& Catalogue::db() const
{
    // A closed catalogue answers every statement with an error, not a crash.
    static const QSqlDatabase closed;
    return m_connection ? m_connection->db : closed;
}

Catalogue::~Catalogue() = default;

void Catalogue::close()
{
    m_connection.reset();
    m_knownCount.reset();
}

bool Catalogue::isOpen() const
{
    return db().isOpen();
}

bool Catalogue::isReadOnly() const
{
    return m_readOnly;
}

QString Catalogue::path() const
{
    return m_path;
}

QString Catalogue::openProblem() const
{
    return m_openProblem;
}

Catalogue::OpenStatus Catalogue::refuse(OpenStatus status, const QString& problem)
{
    m_openProblem = problem;
    return status;
}

Catalogue::OpenStatus Catalogue::open(const QString& path, Access access)
{
    close();
    m_path = path;
    m_openProblem.clear();
    m_readOnly = false;
    const FileKind kind = detectFileKind(path);
    switch (kind) {
    case FileKind::Missing:
        return createNew(path);
    case FileKind::Folder:
    case FileKind::Unreadable:
        return refuse(OpenStatus::Failed, *fileKindProblem(kind));
    case FileKind::Jet:
        return OpenStatus::LegacyFormat;
    case FileKind::Empty:
    case FileKind::Other:
        return refuse(OpenStatus::NotACatalogue, *fileKindProblem(kind));
    case FileKind::SQLite:
        break;
    }
    // Look before writing anything: a file that is not a catalogue is never
    // opened for writing.
    if (Status tables = schema::verifyFile(path); !tables)
        return refuse(OpenStatus::NotACatalogue, tables.error().text());
    m_readOnly = access == Access::ReadOnly || !canWriteFileAndFolder(path);
    if (Result<QSqlDatabase> db = openConnection(path, m_readOnly ? Access::ReadOnly : Access::ReadWrite); db)
        m_connection = std::make_unique<Connection>(*db);
    else
        return refuse(OpenStatus::Failed, db.error().text());
    if (m_readOnly)
        return OpenStatus::ReadOnly;
    (void)searchindex::ensure(m_connection->db);
    return OpenStatus::Opened;
}

Catalogue::OpenStatus Catalogue::createNew(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!pathIsWritable(folder))
        return refuse(OpenStatus::Failed,
                      u"The folder %1 cannot be written to."_s.arg(QDir::toNativeSeparators(folder)));
    if (Result<QSqlDatabase> db = openConnection(path, Access::ReadWrite); db)
        m_connection = std::make_unique<Connection>(*db);
    else
        return refuse(OpenStatus::Failed, db.error().text());
    if (Status created = schema::create(m_connection->db); !created) {
        close();
        QFile::remove(path); // only what this call itself made
        return refuse(OpenStatus::Failed, created.error().text());
    }
    (void)searchindex::ensure(m_connection->db);
    return OpenStatus::Created;
}

Status Catalogue::writable() const
{
    if (!isOpen())
        return Error::failed(u"The catalogue is not open."_s);
    if (m_readOnly)
        return Error::failed(u"The catalogue is open read-only."_s);
    return {};
}

Status Catalogue::copyFileTo(const QString& target)
{
    if (!isOpen())
        return copyFileAtomically(m_path, target);
    // A read inside a transaction takes the shared lock and keeps it to the
    // end of the transaction; a writer must wait for it to go before it may
    // touch the file. The transaction writes nothing: its end only lets go.
    WriteTransaction readLock(db());
    if (!readLock.begun())
        return readLock.begun();
    Statement lock(db(), sql::countBooks);
    if (Result<QVariant> read = lock.single(); !read) {
        return Error::failed(
            u"%1 cannot be read: %2"_s.arg(QDir::toNativeSeparators(m_path), read.error().text()));
    }
    return copyFileAtomically(m_path, target);
}

Result<qint64> Catalogue::dataVersion()
{
    Statement query(db(), sql::dataVersion);
    const Result<QVariant> version = query.single();
    if (!version)
        return version.error();
    return version->toLongLong();
}

Result<qint64> Catalogue::bookCount()
{
    if (!isOpen())
        return Error::failed(u"The catalogue is not open."_s);
    const Result<qint64> before = dataVersion();
    if (!before)
        return before.error();
    if (m_knownCount && m_knownCount->version == *before)
        return m_knownCount->books;
    Statement query(db(), sql::countBooks);
    const Result<QVariant> count = query.single();
    if (!count)
        return count.error();
    // Kept only when no other program wrote in between.
    if (dataVersion().value_or(-1) == *before)
        m_knownCount = KnownCount{count->toLongLong(), *before};
    return count->toLongLong();
}

void Catalogue::countChanged(qint64 by)
{
    if (m_knownCount)
        m_knownCount->books += by;
}

// A listing holds every book: its count is the count, if no other program
// wrote while it was read.
Result<BookListing> Catalogue::keepingCount(Result<BookListing> (*read)(const QSqlDatabase&))
{
    const Result<qint64> before = dataVersion();
    Result<BookListing> listing = read(db());
    if (listing && before && dataVersion().value_or(-1) == *before)
        m_knownCount = KnownCount{listing->bookCount(), *before};
    return listing;
}

Result<BookListing> Catalogue::booksByTitle()
{
    return keepingCount(&readBooksByTitle);
}

Result<BookListing> Catalogue::booksByAuthor()
{
    return keepingCount(&readBooksByAuthor);
}

Result<BookListing> Catalogue::booksByCategory()
{
    return keepingCount(&readBooksByCategory);
}

Result<QStringList> Catalogue::categoryNames()
{
    Statement query(db(), sql::categoryNames);
    return query.firstColumn<QString>();
}

Result<Book> Catalogue::loadBook(qint64 id)
{
    Statement query(db(), sql::bookById);
    if (Status ran = query.run({id}); !ran)
        return ran.error();
    const Result<bool> found = query.next();
    if (!found)
        return found.error();
    if (!*found)
        return Error::notFound(u"The book is no longer in the catalogue."_s);
    Book book = bookFromRow(query);
    Statement categories(db(), sql::categoryNamesOfBook);
    Result<QStringList> categoryNames = categories.firstColumn<QString>({id});
    if (!categoryNames)
        return categoryNames.error();
    book.categories = *categoryNames;
    return book;
}

Result<qint64> Catalogue::categoryId(const QString& name)
{
    Statement query(db(), sql::categoryIdByName);
    const Result<QVariant> id = query.single({name});
    if (!id)
        return id.error();
    return id->toLongLong();
}

Status Catalogue::writeCategoryLinks(qint64 bookId, const QStringList& categoryNames)
{
    Statement insert(db(), sql::insertLink);
    for (const QString& name : categoryNames) {
        const Result<qint64> id = categoryId(name);
        if (id.isNotFound())
            continue; // no longer on file: nothing to link to
        if (!id)
            return id.error();
        if (Status linked = insert.run({bookId, *id}); !linked)
            return linked;
    }
    return {};
}

Result<Book> Catalogue::saveBook(const Book& book)
{
    if (Status can = writable(); !can)
        return can.error();
    if (Status text = storableText(book); !text)
        return text.error();
    Book stored = book;
    stored.sortTitle = sortTitle(book.title);
    WriteTransaction transaction(db());
    if (!transaction.begun())
        return transaction.begun().error();
    Statement write(db(), book.id ? SqlText(sql::updateBook) : SqlText(sql::insertBook));
    QVariantList values = storedBookValues(stored);
    if (book.id)
        values << *book.id;
    if (Status written = write.run(values); !written)
        return written.error();
    // Another program may have deleted the book: then there is nothing to
    // update, and no link may be written for it.
    if (book.id && write.rowsChanged() == 0)
        return Error::notFound(u"The book is no longer in the catalogue."_s);
    stored.id = book.id ? *book.id : write.insertedId();
    Statement unlink(db(), sql::deleteLinksOfBook);
    if (Status done = unlink.run({*stored.id}); !done)
        return done.error();
    if (Status linked = writeCategoryLinks(*stored.id, book.categories); !linked)
        return linked.error();
    if (Status committed = transaction.commit(); !committed)
        return committed.error();
    if (!book.id)
        countChanged(+1);
    return stored;
}

Status Catalogue::deleteBook(qint64 id)
{
    if (Status can = writable(); !can)
        return can;
    WriteTransaction transaction(db());
    if (!transaction.begun())
        return transaction.begun();
    Statement unlink(db(), sql::deleteLinksOfBook);
    if (Status done = unlink.run({id}); !done)
        return done;
    Statement remove(db(), sql::deleteBook);
    if (Status done = remove.run({id}); !done)
        return done;
    const int removed = remove.rowsChanged();
    if (Status committed = transaction.commit(); !committed)
        return committed;
    countChanged(-removed);
    return {};
}

Result<bool> Catalogue::categoryNameOnFile(const QString& name)
{
    Statement query(db(), sql::categoryNameOnFile);
    const Result<QVariant> count = query.single({name});
    if (!count)
        return count.error();
    return count->toLongLong() > 0;
}

Status Catalogue::addCategory(const QString& name)
{
    if (name.size() > categoryNameWidth)
        return Error::failed(u"A category name holds at most %1 characters."_s.arg(categoryNameWidth));
    if (Status can = writable(); !can)
        return can;
    WriteTransaction transaction(db());
    if (!transaction.begun())
        return transaction.begun();
    Statement insert(db(), sql::insertCategory);
    if (Status done = insert.run({name}); !done)
        return done;
    return transaction.commit();
}

Result<qint64> Catalogue::booksUsingCategory(const QString& name)
{
    const Result<qint64> id = categoryId(name);
    if (id.isNotFound())
        return qint64(0);
    if (!id)
        return id.error();
    Statement query(db(), sql::booksUsingCategory);
    const Result<QVariant> count = query.single({*id});
    if (!count)
        return count.error();
    return count->toLongLong();
}

Status Catalogue::deleteCategory(const QString& name)
{
    if (Status can = writable(); !can)
        return can;
    WriteTransaction transaction(db());
    if (!transaction.begun())
        return transaction.begun();
    const Result<qint64> id = categoryId(name);
    if (!id)
        return id.error();
    for (const SqlText statement : {SqlText(sql::deleteLinksOfCategory), SqlText(sql::deleteCategory)}) {
        Statement query(db(), statement);
        if (Status done = query.run({*id}); !done)
            return done;
    }
    return transaction.commit();
}

} // namespace shelvio
