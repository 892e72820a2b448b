#include "schema.h"

#include "connection.h"
#include "statement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace shelvio::schema {

namespace {

QStringList numbered(const QString& prefix, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << prefix + QString::number(i);
    return names;
}

// Yes/No columns hold 0 or 1; the editor always writes them.
const QString yesNo = u"BOOLEAN DEFAULT 0"_s;
const QString text255 = u"VARCHAR(255)"_s;

QString booksTable()
{
    QStringList columns{
        u"BookID INTEGER PRIMARY KEY AUTOINCREMENT"_s,
        u"Title "_s + text255,
        u"Author "_s + text255,
        u"YearPublished INTEGER"_s,
        u"Rating INTEGER"_s,
        u"DateRead "_s + text255,
        u"Comments TEXT"_s,
        // Currency: an amount rounded to four decimals.
        u"Cost REAL"_s,
        u"Category "_s + text255,
        u"WantToBuy "_s + yesNo,
        u"OwnBook "_s + yesNo,
        u"Pages INTEGER"_s,
        u"ReadBook "_s + yesNo,
    };
    for (const QString& name : numbered(u"GA"_s, 15))
        columns << name + u' ' + text255;
    for (const QString& name : numbered(u"GN"_s, 6))
        columns << name + u" INTEGER"_s;
    for (const QString& name : numbered(u"GB"_s, 6))
        columns << name + u' ' + yesNo;
    return u"CREATE TABLE Books (\n  "_s + columns.join(u",\n  "_s) + u"\n)"_s;
}

QStringList createStatements()
{
    return {
        booksTable(),
        u"CREATE UNIQUE INDEX Books_PrimaryKey ON Books (BookID)"_s,
        u"CREATE INDEX Books_BookID ON Books (BookID)"_s,
        u"CREATE INDEX Books_AuthorID ON Books (Author)"_s,
        u"CREATE INDEX Books_RatingID ON Books (Rating)"_s,
        u"CREATE TABLE Category (\n  CategoryID INTEGER PRIMARY KEY AUTOINCREMENT,\n"
        u"  CategoryName VARCHAR(50)\n)"_s,
        u"CREATE UNIQUE INDEX Category_PrimaryKey ON Category (CategoryID)"_s,
        u"CREATE INDEX Category_CategoryID ON Category (CategoryID)"_s,
        u"CREATE TABLE BookCategoryLink (\n  BookID INTEGER NOT NULL,\n  CategoryKey INTEGER NOT NULL\n)"_s,
        u"CREATE UNIQUE INDEX BookCategoryLink_PrimaryKey ON BookCategoryLink (BookID, CategoryKey)"_s,
        u"CREATE INDEX BookCategoryLink_BookID ON BookCategoryLink (BookID)"_s,
        u"CREATE INDEX BookCategoryLink_CategoryKey ON BookCategoryLink (CategoryKey)"_s,
    };
}

} // namespace

QStringList bookColumns()
{
    return QStringList{u"BookID"_s,   u"Title"_s,    u"Author"_s,  u"YearPublished"_s, u"Rating"_s,
                       u"DateRead"_s, u"Comments"_s, u"Cost"_s,    u"Category"_s,      u"WantToBuy"_s,
                       u"OwnBook"_s,  u"Pages"_s,    u"ReadBook"_s} +
           numbered(u"GA"_s, 15) + numbered(u"GN"_s, 6) + numbered(u"GB"_s, 6);
}

QStringList categoryColumns()
{
    return {u"CategoryID"_s, u"CategoryName"_s};
}

QStringList bookCategoryLinkColumns()
{
    return {u"BookID"_s, u"CategoryKey"_s};
}

QStringList indexNames()
{
    return {u"Books_PrimaryKey"_s,
            u"Books_BookID"_s,
            u"Books_AuthorID"_s,
            u"Books_RatingID"_s,
            u"Category_PrimaryKey"_s,
            u"Category_CategoryID"_s,
            u"BookCategoryLink_PrimaryKey"_s,
            u"BookCategoryLink_BookID"_s,
            u"BookCategoryLink_CategoryKey"_s};
}

Status create(QSqlDatabase& db)
{
    WriteTransaction transaction(db);
    if (!transaction.begun())
        return transaction.begun();
    QSqlQuery query(db);
    for (const QString& statement : createStatements()) {
        if (!query.exec(statement))
            return Error::failed(query.lastError().text());
    }
    query.finish();
    return transaction.commit();
}

Status verify(const QSqlDatabase& db)
{
    const struct {
        QString table;
        QStringList columns;
    } expected[] = {{u"Books"_s, bookColumns()},
                    {u"Category"_s, categoryColumns()},
                    {u"BookCategoryLink"_s, bookCategoryLinkColumns()}};
    const QStringList tables = db.tables();
    QStringList missing;
    for (const auto& [table, columns] : expected) {
        if (!tables.contains(table, Qt::CaseInsensitive)) {
            missing << u"table %1"_s.arg(table);
            continue;
        }
        const QSqlRecord record = db.record(table);
        for (const QString& column : columns) {
            if (record.indexOf(column) < 0)
                missing << u"column %1.%2"_s.arg(table, column);
        }
    }
    if (missing.isEmpty())
        return {};
    return Error::failed(u"It has no "_s + missing.join(u", no "_s) + u'.');
}

Status verifyFile(const QString& path)
{
    Result<QSqlDatabase> db = openConnection(path, Access::ReadOnly);
    if (!db)
        return db.error();
    Status verified;
    {
        // db.tables() says nothing of a file SQLite cannot read at all.
        QSqlQuery query(*db);
        if (!query.exec(u"SELECT count(*) FROM sqlite_master"_s))
            verified = Error::failed(query.lastError().text());
        else
            verified = verify(*db);
    }
    closeConnection(*db);
    return verified;
}

} // namespace shelvio::schema
