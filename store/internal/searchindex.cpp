#include "searchindex.h"

#include "statement.h"
#include "statements.h"

#include <span>

namespace shelvio::searchindex {

namespace {

Status runEach(const QSqlDatabase& db, std::span<const SqlText> statements)
{
    for (SqlText sql : statements) {
        Statement statement(db, sql);
        if (Status done = statement.run(); !done)
            return done;
    }
    return {};
}

Result<qint64> number(const QSqlDatabase& db, SqlText sql, const QVariantList& values = {})
{
    Statement query(db, sql);
    const Result<QVariant> value = query.single(values);
    if (!value)
        return value.error();
    return value->toLongLong();
}

} // namespace

Result<bool> isCurrent(const QSqlDatabase& db)
{
    const Result<qint64> parts = number(db, sql::search::indexParts);
    if (!parts)
        return parts.error();
    if (*parts != 6)
        return false;
    const Result<qint64> holdsEveryBook =
        number(db, sql::search::indexHoldsEveryBook, {sql::search::indexVersion});
    if (!holdsEveryBook)
        return holdsEveryBook.error();
    return *holdsEveryBook == 1;
}

Status rebuild(const QSqlDatabase& db)
{
    WriteTransaction transaction(db);
    if (!transaction.begun())
        return transaction.begun();
    using namespace sql::search;
    const SqlText create[] = {createIndex,
                                  createState,
                                  createInsertTrigger,
                                  createDeleteTrigger,
                                  createUpdateTrigger,
                                  createCategoryBooksIndex,
                                  fillIndex};
    if (Status dropped = runEach(db, dropIndex); !dropped)
        return dropped;
    if (Status created = runEach(db, create); !created)
        return created;
    Statement state(db, fillState);
    if (Status filled = state.run({indexVersion}); !filled)
        return filled;
    return transaction.commit();
}

Status ensure(const QSqlDatabase& db)
{
    const Result<bool> current = isCurrent(db);
    if (!current)
        return current.error();
    if (Status built = *current ? Status() : rebuild(db); !built)
        return built;
    Statement load(db, sql::search::loadIndex);
    return load.run();
}

Status buildSnapshot(const QSqlDatabase& db)
{
    const SqlText build[] = {sql::search::dropSnapshot, sql::search::createSnapshot,
                                 sql::search::fillSnapshot};
    return runEach(db, build);
}

Status dropSnapshot(const QSqlDatabase& db)
{
    Statement drop(db, sql::search::dropSnapshot);
    return drop.run();
}

Result<qint64> dataVersion(const QSqlDatabase& db)
{
    return number(db, sql::dataVersion);
}

} // namespace shelvio::searchindex
