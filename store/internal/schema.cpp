#include "schema.h"

#include "connection.h"
#include "statement.h"
#include "statements.h"

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

// The tables first, then their indexes.
const SqlText createStatements[] = {
    sql::schema::createBooks,        sql::schema::booksPrimaryKey,    sql::schema::booksBookId,
    sql::schema::booksAuthorId,      sql::schema::booksRatingId,      sql::schema::createCategory,
    sql::schema::categoryPrimaryKey, sql::schema::categoryCategoryId, sql::schema::createLinks,
    sql::schema::linksPrimaryKey,    sql::schema::linksBookId,        sql::schema::linksCategoryKey,
};

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
    for (const SqlText& statement : createStatements) {
        if (Status made = Statement(db, statement).run(); !made)
            return made;
    }
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
        verified = Statement(*db, sql::countSchemaEntries).run();
        if (verified)
            verified = verify(*db);
    }
    closeConnection(*db);
    return verified;
}

} // namespace shelvio::schema
