// Every report's books, their order and its group headings, over a catalogue
// built to make names tie, held against the order SQLite gives ORDER BY the
// registered sort-key function.
#include "referenceorder.h"
#include "reporttesting.h"
#include "stresscatalogue.h"
#include "testcatalogue.h"

#include <QTest>

using namespace shelvio;
using namespace shelvio::reports;

namespace {

// One line a book: what a report shows of it and orders it by.
QStringList bookLines(const ReportRows& books)
{
    QStringList lines;
    for (qsizetype i = 0; i < books.size(); ++i) {
        const Book book = books.book(i);
        lines << QStringLiteral("%1 | %2 | %3 | %4 | %5")
                     .arg(book.id.value_or(-1))
                     .arg(book.sortTitle, book.author, book.firstName, book.categories.join(u'/'));
    }
    return lines;
}

QStringList groupLines(const ReportDocument& document)
{
    QStringList lines;
    for (const GroupMark& mark : document.groups())
        lines << QStringLiteral("%1 %2 | page %3").arg(mark.level).arg(mark.heading).arg(mark.page);
    return lines;
}

} // namespace

class TestReportOrderings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyReportAsTheReference_data();
    void everyReportAsTheReference();

private:
    testing::TestCatalogue m_file;
};

void TestReportOrderings::initTestCase()
{
    testing::fillStressCatalogue(m_file);
}

void TestReportOrderings::everyReportAsTheReference_data()
{
    QTest::addColumn<QString>("name");
    for (const ReportDefinition& definition : reportDefinitions())
        QTest::newRow(qPrintable(definition.name)) << definition.name;
}

void TestReportOrderings::everyReportAsTheReference()
{
    QFETCH(QString, name);
    const ReportDefinition& definition = *findDefinition(name);
    Report report(definition);
    VERIFY_OK(loadReportData(report, m_file.path()));
    const auto expected = reference::reportBooks(
        {m_file.path(), definition.selection, definition.order, definition.categorySubreport});
    VERIFY_OK(expected);
    QVERIFY(!expected->empty());
    const auto expectedRows = std::make_shared<const ReportRows>(ReportRows::fromBooks(*expected));
    QCOMPARE(bookLines(*report.rows()), bookLines(*expectedRows));
    QCOMPARE(groupLines(testing::runReport(name, m_file.path())),
             groupLines(layoutReport(definition, expectedRows, testing::fixedLayoutOptions())));
}

QTEST_MAIN(TestReportOrderings)
#include "tst_reportorderings.moc"
