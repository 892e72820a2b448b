#include "testcatalogue.h"

#include "connection.h"
#include "seeding.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <sqlite3.h>

namespace testing {

TestCatalogue::TestCatalogue()
    : m_catalogue(std::make_unique<shelvio::Catalogue>())
{
    const auto status = m_catalogue->open(path());
    if (status != shelvio::Catalogue::OpenStatus::Created)
        qFatal("cannot create test catalogue: %s", qPrintable(m_catalogue->openProblem()));
}

TestCatalogue::~TestCatalogue() = default;

QString TestCatalogue::path() const
{
    return m_dir.filePath(QStringLiteral("Shelvio.mdb"));
}

qint64 TestCatalogue::addBook(const shelvio::Book& book)
{
    const auto saved = m_catalogue->saveBook(book);
    if (!saved)
        qFatal("cannot add test book: %s", qPrintable(saved.error().text()));
    return *saved->id;
}

qint64 TestCatalogue::addBook(const QString& title, const QString& author, const QString& firstName,
                              const QStringList& categories)
{
    shelvio::Book added = book(title, author, firstName);
    added.categories = categories;
    return addBook(added);
}

void TestCatalogue::addCategory(const QString& name)
{
    if (const auto added = m_catalogue->addCategory(name); !added)
        qFatal("cannot add test category: %s", qPrintable(added.error().text()));
}

void TestCatalogue::addManyBooks(int count, const std::function<shelvio::Book(int)>& makeBook)
{
    shelvio::CatalogueSeeder seeder(path());
    for (int i = 0; i < count; ++i)
        (void)seeder.addBook(makeBook(i)); // a failure stays in status()
    if (const auto committed = seeder.commit(); !committed)
        qFatal("cannot add test books: %s", qPrintable(committed.error().text()));
}

QVariant TestCatalogue::scalar(const QString& sql, const QVariantList& values) const
{
    const auto result = rows(sql, values);
    return result.isEmpty() || result.first().isEmpty() ? QVariant() : result.first().first();
}

QList<QVariantList> TestCatalogue::rows(const QString& sql, const QVariantList& values) const
{
    return queryFile(path(), sql, values);
}

void TestCatalogue::exec(const QString& sql, const QVariantList& values) const
{
    queryFile(path(), sql, values);
}

QByteArray TestCatalogue::bytes() const
{
    return fileBytes(path());
}

QStringList categoriesOf(shelvio::Catalogue& catalogue, qint64 id)
{
    const auto loaded = catalogue.loadBook(id);
    return loaded ? loaded->categories : QStringList{QStringLiteral("failed: ") + loaded.error().text()};
}

QList<ListedRow> listedRows(const shelvio::Result<shelvio::BookListing>& listing)
{
    if (!listing)
        return {{-1, QStringLiteral("failed: ") + listing.error().text(), {}}};
    QList<ListedRow> rows;
    size_t run = 0;
    for (qint32 row = 0; row < qint32(listing->rows.size()); ++row) {
        while (run + 1 < listing->runs.size() && listing->runs[run + 1].firstRow <= row)
            ++run;
        const qint32 book = listing->rows[size_t(row)];
        rows.append({listing->ids[size_t(book)], listing->sortTitles.at(book),
                     listing->runs.empty() ? QString() : listing->runs[run].name});
    }
    return rows;
}

QStringList listedTitles(const shelvio::Result<shelvio::BookListing>& listing)
{
    QStringList titles;
    for (const ListedRow& row : listedRows(listing))
        titles << row.sortTitle;
    return titles;
}

shelvio::Book book(const QString& title, const QString& author, const QString& firstName)
{
    shelvio::Book record;
    record.title = title;
    record.author = author;
    record.firstName = firstName;
    record.dateRead = QStringLiteral("//");
    return record;
}

QSqlDatabase openOrStop(const QString& path)
{
    // Only the handle returned may refer to the connection, so that
    // closeConnection() can let go of it.
    auto opened = shelvio::openConnection(path, shelvio::Access::ReadWrite);
    if (!opened)
        qFatal("cannot open %s: %s", qPrintable(path), qPrintable(opened.error().text()));
    return *opened;
}

QList<QVariantList> queryFile(const QString& path, const QString& sql, const QVariantList& values)
{
    QSqlDatabase db = openOrStop(path);
    QList<QVariantList> result;
    {
        QSqlQuery query(db);
        query.prepare(sql);
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec())
            qFatal("test statement failed: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            result << row;
        }
    }
    shelvio::closeConnection(db);
    return result;
}

QString runAsPlainSqliteTool(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    QString problem;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        problem = QString::fromUtf8(sqlite3_errmsg(db));
    } else {
        sqlite3_busy_timeout(db, 5000);
        char* error = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
            problem = QString::fromUtf8(error ? error : sqlite3_errmsg(db));
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return problem;
}

QString fixturesFolder()
{
    return qEnvironmentVariable("SHELVIO_FIXTURES");
}

QString copyFixture(const QString& relativePath, const QString& toPath)
{
    const QString from = QDir(fixturesFolder()).filePath(relativePath);
    if (!QFile::copy(from, toPath))
        qFatal("cannot copy fixture %s to %s", qPrintable(from), qPrintable(toPath));
    QFile::setPermissions(toPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return toPath;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace testing
