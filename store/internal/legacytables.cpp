#include "legacytables.h"

#include "numbers.h"
#include "schema.h"
#include "statements.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace shelvio::legacy {

namespace {

bool typeFits(JetType expected, JetType actual)
{
    const auto isText = [](JetType type) {
        return type == JetType::Text || type == JetType::Memo;
    };
    return expected == actual || (isText(expected) && isText(actual));
}

} // namespace

const QList<TableLayout>& catalogueTables()
{
    static const QList<TableLayout> tables{
        {u"Books"_s,
         schema::bookColumns(),
         u"BookID"_s,
         sql::legacy::insertBookRow,
         sql::legacy::bookRowByKey,
         sql::countBooks,
         {sql::highestBookId, sql::legacy::highestLinkedBookId}},
        {u"Category"_s,
         schema::categoryColumns(),
         u"CategoryID"_s,
         sql::legacy::insertCategoryRow,
         sql::legacy::categoryRowByKey,
         sql::legacy::countCategories,
         {sql::legacy::highestCategoryId, sql::legacy::highestLinkedCategoryId}},
        {u"BookCategoryLink"_s,
         schema::bookCategoryLinkColumns(),
         QString(),
         sql::legacy::insertLinkRow,
         sql::legacy::linkCount,
         sql::legacy::countLinks,
         {}},
    };
    return tables;
}

// The Jet type each catalogue column was made with. Text and Memo stand in
// for each other; a number column may be any size of whole number.
JetType expectedType(const QString& column)
{
    static const QStringList integers{u"BookID"_s, u"YearPublished"_s, u"Rating"_s,     u"Pages"_s,
                                      u"GN1"_s,    u"GN2"_s,           u"GN3"_s,        u"GN4"_s,
                                      u"GN5"_s,    u"GN6"_s,           u"CategoryID"_s, u"CategoryKey"_s};
    static const QStringList yesNo{u"WantToBuy"_s, u"OwnBook"_s, u"ReadBook"_s, u"GB1"_s, u"GB2"_s,
                                   u"GB3"_s,       u"GB4"_s,     u"GB5"_s,      u"GB6"_s};
    if (integers.contains(column))
        return JetType::Integer;
    if (yesNo.contains(column))
        return JetType::YesNo;
    if (column == u"Cost"_s)
        return JetType::Currency;
    if (column == u"Comments"_s)
        return JetType::Memo;
    return JetType::Text;
}

// What keeps one Jet table from holding a catalogue table, if anything.
QStringList tableProblems(const TableLayout& layout, const JetTable& table)
{
    QStringList missing, wrongType, extra;
    for (const QString& name : layout.columns) {
        const auto column =
            std::find_if(table.columns.cbegin(), table.columns.cend(),
                         [&](const JetColumn& c) { return c.name.compare(name, Qt::CaseInsensitive) == 0; });
        if (column == table.columns.cend())
            missing << name;
        else if (!typeFits(expectedType(name), column->type))
            wrongType << u"%1 is %2, not %3"_s.arg(name, JetFile::typeName(column->type),
                                                   JetFile::typeName(expectedType(name)));
    }
    for (const JetColumn& column : table.columns) {
        if (!layout.columns.contains(column.name, Qt::CaseInsensitive))
            extra << column.name;
    }
    QStringList problems;
    if (!missing.isEmpty())
        problems << u"the table %1 has no column %2"_s.arg(layout.name, missing.join(u", no column "_s));
    if (!wrongType.isEmpty())
        problems << u"in the table %1, %2"_s.arg(layout.name, wrongType.join(u", "_s));
    // Their values would be lost: the catalogue has nowhere to keep them.
    if (!extra.isEmpty())
        problems << u"the table %1 has columns a catalogue has no place for: %2"_s.arg(layout.name,
                                                                                       extra.join(u", "_s));
    return problems;
}

// A Jet value as the catalogue stores it (see numbers.h for the cost).
QVariant storedForm(JetType type, const QVariant& value)
{
    switch (type) {
    case JetType::Integer:
        return value.isNull() ? QVariant(QMetaType::fromType<qint64>()) : value;
    case JetType::Currency:
        return value.isNull() ? QVariant(QMetaType::fromType<double>())
                              : QVariant(amountFromCostUnits(value.toLongLong()));
    case JetType::YesNo:
        return int(value.toBool());
    case JetType::Text:
    case JetType::Memo:
    case JetType::Other:
        break;
    }
    return value.isNull() ? QVariant(QMetaType::fromType<QString>()) : value;
}

// Whether the catalogue's value in column i of the query is the Jet value.
bool sameValue(JetType type, const QVariant& jetValue, const QSqlQuery& stored, int i)
{
    if (stored.isNull(i) || jetValue.isNull())
        return stored.isNull(i) && jetValue.isNull();
    const QVariant value = stored.value(i);
    switch (type) {
    case JetType::Integer:
        return value.typeId() == QMetaType::LongLong && value.toLongLong() == jetValue.toLongLong();
    case JetType::Currency:
        return value.typeId() == QMetaType::Double &&
               costUnitsFromAmount(value.toDouble()) == jetValue.toLongLong();
    case JetType::YesNo:
        return value.typeId() == QMetaType::LongLong && value.toLongLong() == (jetValue.toBool() ? 1 : 0);
    case JetType::Text:
    case JetType::Memo:
    case JetType::Other:
        break;
    }
    return value.typeId() == QMetaType::QString && value.toString() == jetValue.toString();
}

} // namespace shelvio::legacy
