#include "reportpainter.h"
#include "reportstyle.h"
#include "reporttesting.h"
#include "testcatalogue.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <tuple>

using namespace shelvio;
using namespace shelvio::reports;
using testing::TestCatalogue;

namespace {

// Books whose titles begin with five letters in turn, so that title groups
// are many pages long: "A Book 000", "B Book 001", ...
void addLetteredBooks(TestCatalogue& file, int count)
{
    file.addManyBooks(count, [](int i) {
        Book record =
            testing::book(QStringLiteral("%1 Book %2").arg(QChar(u'P' + i % 5)).arg(i, 3, 10, QChar(u'0')),
                          QStringLiteral("Author%1").arg(i % 7), QStringLiteral("First"));
        record.readBook = true;
        record.yearPublished = 1900 + i;
        return record;
    });
}

QStringList detailTitles(const ReportDocument& document, int page)
{
    QStringList titles;
    for (const PageItem& item : document.page(page).items) {
        if (item.kind == PageItem::Kind::Text && item.font == FontRole::Detail &&
            item.text.contains(QStringLiteral("Book ")))
            titles << item.text;
    }
    return titles;
}

const PageItem* pageNumberItem(const ReportPage& page)
{
    for (const PageItem& item : page.items) {
        if (item.kind == PageItem::Kind::PageNumber)
            return &item;
    }
    return nullptr;
}

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT
private slots:
    void paginatesAnyNumberOfBooks_data();
    void paginatesAnyNumberOfBooks();
    void repeatsHeadersAndNumbersPages();
    void startsEachGroupOnANewPageWhenAsked();
    void keepsGroupHeadingWithItsFirstDetail();
    void fillsColumnsAcross();
    void fillsColumnsDown();
    void splitsAnEntryLongerThanAPage();
    void exportsAPdfThatAReaderOpens();
    void refusesAnUnwritablePdfPath();
    void readsStoredReadDates_data();
    void readsStoredReadDates();
    void layoutCanBeTakenInSteps_data();
    void layoutCanBeTakenInSteps();
    void wrapsOnlyWhatDoesNotFit_data();
    void wrapsOnlyWhatDoesNotFit();
};

void TestReportEngine::paginatesAnyNumberOfBooks_data()
{
    QTest::addColumn<int>("books");
    QTest::addColumn<int>("minPages");
    QTest::addColumn<int>("maxPages");
    QTest::newRow("none") << 0 << 1 << 1;
    QTest::newRow("one") << 1 << 1 << 1;
    QTest::newRow("five hundred") << 500 << 8 << 14;
}

void TestReportEngine::paginatesAnyNumberOfBooks()
{
    QFETCH(int, books);
    QFETCH(int, minPages);
    QFETCH(int, maxPages);
    TestCatalogue file;
    addLetteredBooks(file, books);
    const ReportDocument document = testing::runReport(QStringLiteral("crBooksReadByTitle"), file.path());
    const int pages = document.pageCount();
    QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));
    QVERIFY(document.isComplete());
    QCOMPARE(document.bookCount(), books);

    // Every book once, in title order, none in the page footer's band.
    QStringList titles;
    const PageGeometry geometry = pageGeometry(QPageSize(QPageSize::A4));
    for (int page = 0; page < pages; ++page) {
        titles << detailTitles(document, page);
        for (const PageItem& item : document.page(page).items) {
            if (item.kind == PageItem::Kind::Text && item.font == FontRole::Detail)
                QVERIFY(item.rect.bottom() <= geometry.bodyBottom() + 0.01);
        }
    }
    QStringList expected;
    for (int i = 0; i < books; ++i)
        expected << QStringLiteral("%1 Book %2").arg(QChar(u'P' + i % 5)).arg(i, 3, 10, QChar(u'0'));
    std::sort(expected.begin(), expected.end());
    QCOMPARE(titles, expected);
    const QStringList texts = testing::allTexts(document);
    QVERIFY(texts.contains(books == 1 ? QStringLiteral("1 book listed.")
                                      : QStringLiteral("%1 books listed.").arg(books)));
    QVERIFY(texts.contains(QStringLiteral("Printed on Tuesday, March 5, 2024")));
}

void TestReportEngine::repeatsHeadersAndNumbersPages()
{
    TestCatalogue file;
    addLetteredBooks(file, 500);
    const ReportDocument document = testing::runReport(QStringLiteral("crBooksReadByTitle"), file.path());
    const int count = document.pageCount();
    QVERIFY(count > 2);
    const PageGeometry geometry = pageGeometry(QPageSize(QPageSize::A4));
    for (int page = 0; page < count; ++page) {
        const ReportPage& content = document.page(page);
        const QStringList texts = content.texts();
        QVERIFY(texts.contains(QStringLiteral("Title")));
        QVERIFY(texts.contains(QStringLiteral("Pages")));
        QCOMPARE(texts.count(QStringLiteral("Books Read - By Title")), 1);
        const PageItem* number = pageNumberItem(content);
        QVERIFY(number);
        QCOMPARE(number->text, QStringLiteral("Page %1 of %2").arg(page + 1).arg(count));
        // At the right margin, in the footer.
        QCOMPARE(number->align & Qt::AlignRight, Qt::AlignRight);
        QVERIFY(qAbs(number->rect.right() - geometry.contentRight()) < 0.01);
        QVERIFY(number->rect.top() > geometry.bodyBottom());
    }
    // The report's own header and footer appear once.
    QCOMPARE(testing::textsOf(document, FontRole::ReportTitle),
             QStringList{QStringLiteral("Books Read - By Title")});
    QVERIFY(document.page(document.pageCount() - 1).texts().contains(QStringLiteral("500 books listed.")));
}

void TestReportEngine::startsEachGroupOnANewPageWhenAsked()
{
    TestCatalogue file;
    addLetteredBooks(file, 500);
    const ReportDocument broken = testing::runReport(QStringLiteral("crBooksByTitlePgBreak"), file.path());
    const ReportDocument flowing = testing::runReport(QStringLiteral("crBooksByTitle"), file.path());
    QStringList headings;
    for (const GroupMark& mark : broken.groups())
        headings << mark.heading;
    QCOMPARE(headings, (QStringList{"P", "Q", "R", "S", "T"}));
    bool someFlowingPageHasTwoLetters = false;
    for (const ReportDocument* document : {&broken, &flowing}) {
        for (int page = 0; page < document->pageCount(); ++page) {
            QSet<QChar> initials;
            for (const QString& title : detailTitles(*document, page))
                initials.insert(title.at(0));
            if (document == &broken)
                QVERIFY2(initials.size() <= 1, qPrintable(QString::number(page)));
            else
                someFlowingPageHasTwoLetters |= initials.size() > 1;
        }
    }
    QVERIFY(someFlowingPageHasTwoLetters);
    // Every group begins at the top of a page of its own.
    for (int i = 1; i < int(broken.groups().size()); ++i)
        QVERIFY(broken.groups()[size_t(i)].page > broken.groups()[size_t(i - 1)].page);
    QVERIFY(broken.pageCount() >= flowing.pageCount());
}

void TestReportEngine::keepsGroupHeadingWithItsFirstDetail()
{
    TestCatalogue file;
    // Many small author groups: some heading falls near the foot of a page.
    for (int i = 0; i < 300; ++i)
        file.addBook(QStringLiteral("Title %1").arg(i),
                     QStringLiteral("Author %1").arg(i / 3, 3, 10, QChar(u'0')));
    const ReportDocument document = testing::runReport(QStringLiteral("crBooksByAuthor"), file.path());
    QVERIFY(document.pageCount() > 3);
    for (const GroupMark& mark : document.groups()) {
        bool detailBelow = false;
        for (const PageItem& item : document.page(mark.page).items) {
            if (item.kind == PageItem::Kind::Text && item.font == FontRole::Detail &&
                item.rect.top() > mark.y)
                detailBelow = true;
        }
        QVERIFY2(detailBelow, qPrintable(mark.heading));
    }
}

void TestReportEngine::fillsColumnsAcross()
{
    TestCatalogue file;
    for (int i = 0; i < 9; ++i)
        file.addBook(QStringLiteral("Entry %1").arg(i));
    const ReportDocument document = testing::runReport(QStringLiteral("crFullListingByTitle"), file.path());
    std::vector<std::pair<int, QRectF>> entries; // page, place of each title
    for (int page = 0; page < document.pageCount(); ++page) {
        for (const PageItem& item : document.page(page).items) {
            if (item.font == FontRole::DetailBold && item.text.startsWith(QStringLiteral("Entry")))
                entries.push_back({page, item.rect});
        }
    }
    QCOMPARE(int(entries.size()), 9);
    // Side by side in pairs: left, right on the same line, then the next row.
    for (size_t i = 0; i + 1 < entries.size(); i += 2) {
        const auto& [leftPage, left] = entries[i];
        const auto& [rightPage, right] = entries[i + 1];
        if (leftPage != rightPage)
            continue;
        QCOMPARE(left.top(), right.top());
        QVERIFY(left.right() < right.left());
        if (i + 2 < entries.size() && entries[i + 2].first == leftPage)
            QVERIFY(entries[i + 2].second.top() > left.top());
    }
}

void TestReportEngine::fillsColumnsDown()
{
    TestCatalogue file;
    for (int i = 0; i < 40; ++i)
        file.addBook(QStringLiteral("Entry %1").arg(i, 2, 10, QChar(u'0')));
    const ReportDocument document =
        testing::runReport(QStringLiteral("crFullListingByTitleInColumns"), file.path());
    QVERIFY(document.pageCount() >= 2);
    const ReportPage& first = document.page(0);
    std::vector<QRectF> entries;
    for (const PageItem& item : first.items) {
        if (item.font == FontRole::DetailBold && item.text.startsWith(QStringLiteral("Entry")))
            entries.push_back(item.rect);
    }
    QVERIFY(entries.size() >= 4);
    // Down the left column, then down the right one.
    int columnChanges = 0;
    for (size_t i = 1; i < entries.size(); ++i) {
        if (entries[i].left() > entries[i - 1].left()) {
            ++columnChanges;
            QVERIFY(entries[i].top() < entries[i - 1].top());
        } else {
            QCOMPARE(entries[i].left(), entries[i - 1].left());
            QVERIFY(entries[i].top() > entries[i - 1].top());
        }
    }
    QCOMPARE(columnChanges, 1);
}

void TestReportEngine::splitsAnEntryLongerThanAPage()
{
    TestCatalogue file;
    Book record = testing::book(QStringLiteral("Long Remarks"));
    QStringList paragraphs;
    for (int i = 0; i < 150; ++i)
        paragraphs << QStringLiteral("Remark number %1 about this book.").arg(i);
    record.comments = paragraphs.join(u'\n');
    file.addBook(record);
    const ReportDocument document =
        testing::runReport(QStringLiteral("crFullListingByTitleInColumns"), file.path());
    const PageGeometry geometry = pageGeometry(testing::fixedLayoutOptions().pageSize);
    struct Placed {
        int page;
        double left;
        double top;
        int number;
    };
    std::vector<Placed> remarks;
    QSet<double> firstPageColumns;
    for (int page = 0; page < document.pageCount(); ++page) {
        for (const PageItem& item : document.page(page).items) {
            static const QRegularExpression remark(
                QStringLiteral("^Remark number (\\d+) about this book\\.$"));
            const auto match = remark.match(item.text);
            if (!match.hasMatch())
                continue;
            QVERIFY2(item.rect.top() >= geometry.marginTop &&
                         item.rect.bottom() <= geometry.bodyBottom() + 0.01,
                     qPrintable(item.text));
            remarks.push_back({page, item.rect.left(), item.rect.top(), match.captured(1).toInt()});
            if (page == 0)
                firstPageColumns.insert(item.rect.left());
        }
    }
    // Read in page order, left column before right, top to bottom, the
    // remarks come back whole and in their order: none cut, doubled or
    // placed over another.
    std::sort(remarks.begin(), remarks.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.page, a.left, a.top) < std::tie(b.page, b.left, b.top);
    });
    QCOMPARE(int(remarks.size()), 150);
    for (int i = 0; i < 150; ++i)
        QCOMPARE(remarks[size_t(i)].number, i);
    // The entry fills both columns of the first page and goes on over the next.
    QCOMPARE(firstPageColumns.size(), 2);
    QVERIFY(remarks.back().page >= 1);
}

void TestReportEngine::exportsAPdfThatAReaderOpens()
{
    TestCatalogue file;
    addLetteredBooks(file, 500);
    const ReportDocument document = testing::runReport(QStringLiteral("crBooksReadByTitle"), file.path());
    const QString pdf = file.folder() + QStringLiteral("/listing.pdf");
    const Status written = exportPdf(document, pdf);
    QVERIFY2(written, qPrintable(written.error().text()));
    const int pages = document.pageCount();
    QCOMPARE(testing::pdfPageCount(pdf), pages);
    const QString text = testing::pdfText(pdf);
    QVERIFY(text.contains(QStringLiteral("Books Read - By Title")));
    QVERIFY(text.contains(QStringLiteral("P Book 000")));
    QVERIFY(text.contains(QStringLiteral("T Book 499")));
    QVERIFY(text.contains(QStringLiteral("Page 1 of %1").arg(pages)));
    QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
    QVERIFY(text.contains(QStringLiteral("500 books listed.")));
}

void TestReportEngine::refusesAnUnwritablePdfPath()
{
    TestCatalogue file;
    const ReportDocument document = testing::runReport(QStringLiteral("crBooksByTitle"), file.path());
    const Status written = exportPdf(document, file.folder() + QStringLiteral("/no such folder/out.pdf"));
    QVERIFY(!written);
    QVERIFY(!written.error().text().isEmpty());
}

void TestReportEngine::readsStoredReadDates_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("year"); // 0: not known
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::newRow("full") << "3/14/2004" << 2004 << 3 << 14;
    QTest::newRow("leading zeros") << "03/04/1999" << 1999 << 3 << 4;
    QTest::newRow("nothing typed") << "//" << 0 << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0 << 0;
    QTest::newRow("year alone") << "//2004" << 2004 << 0 << 0;
    QTest::newRow("no such day") << "2/30/2004" << 2004 << 2 << 0;
    QTest::newRow("leap day") << "2/29/2000" << 2000 << 2 << 29;
    QTest::newRow("no such month") << "13/1/2004" << 2004 << 0 << 0;
    QTest::newRow("two-digit year") << "3/14/04" << 0 << 0 << 0;
    QTest::newRow("words") << "last summer" << 0 << 0 << 0;
    QTest::newRow("blanks around") << " 3 / 14 / 2004 " << 2004 << 3 << 14;
}

void TestReportEngine::readsStoredReadDates()
{
    QFETCH(QString, stored);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    const ReadDate date = parseReadDate(stored);
    QCOMPARE(date.year.value_or(0), year);
    QCOMPARE(date.month.value_or(0), month);
    QCOMPARE(date.day.value_or(0), day);
}

void TestReportEngine::layoutCanBeTakenInSteps_data()
{
    QTest::addColumn<QString>("definition");
    // Lists with one and two grouping levels and a page per group; full
    // entries across and down, some of them longer than a column.
    for (const char* name : {"crBooksByTitle", "crBooksByAuthor", "crBooksByAuthorPgBreak", "crBookRating",
                             "crFullListingByAuthor", "crFullListingByTitleInColumns"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

// Pages are kept as records and laid out again when asked for: a page made
// while the layout is still going on, or after it, from its record, is the
// page the layout made in one run, whatever stood before it on the page or
// in the book that started it.
void TestReportEngine::layoutCanBeTakenInSteps()
{
    QFETCH(QString, definition);
    TestCatalogue file;
    file.addManyBooks(240, [](int i) {
        Book record = testing::book(QStringLiteral("%1 Book %2").arg(QChar(u'P' + i % 5)).arg(i),
                                    QStringLiteral("Author%1").arg(i % 7), QStringLiteral("First"));
        record.rating = i % 11;
        if (i % 37 == 0) {
            QStringList remarks;
            for (int line = 0; line < 60; ++line)
                remarks << QStringLiteral("Remark %1 on book %2.").arg(line).arg(i);
            record.comments = remarks.join(u'\n');
        }
        return record;
    });
    const ReportDefinition& report = *findDefinition(definition);
    Report source(report);
    VERIFY_OK(loadReportData(source, file.path()));
    const auto layout = std::make_shared<ReportLayout>(report, source.rows(), testing::fixedLayoutOptions());
    const ReportDocument inSteps(layout);
    std::vector<QStringList> madeEarly;
    while (layout->layoutSome(7)) {
        for (int page = int(madeEarly.size()); page < inSteps.pageCount(); ++page)
            madeEarly.push_back(testing::itemLines(inSteps.page(page)));
    }
    const ReportDocument whole = testing::runReport(definition, file.path());
    QCOMPARE(inSteps.pageCount(), whole.pageCount());
    QVERIFY(whole.pageCount() > 3);
    // The headings on each page made again are those the layout placed
    // there, as its group marks say.
    std::vector<QStringList> marked(size_t(whole.pageCount()));
    for (const GroupMark& mark : whole.groups())
        marked[size_t(mark.page)] << mark.heading;
    for (int page = 0; page < whole.pageCount(); ++page) {
        QStringList headings;
        for (const PageItem& item : whole.page(page).items) {
            if (item.font == FontRole::Group1 || item.font == FontRole::Group2)
                headings << item.text;
        }
        QCOMPARE(headings, marked[size_t(page)]);
    }
    QVERIFY(madeEarly.size() >= size_t(whole.pageCount() - 1));
    for (int page = 0; page < whole.pageCount(); ++page) {
        QStringList expected = testing::itemLines(whole.page(page));
        QCOMPARE(testing::itemLines(inSteps.page(page)), expected);
        if (size_t(page) < madeEarly.size()) {
            // Laid out before the count was known, its number was left to
            // the painter.
            expected.replaceInStrings(QRegularExpression(QStringLiteral("Page \\d+ of \\d+$")), QString());
            QCOMPARE(madeEarly[size_t(page)], expected);
        }
    }
}

void TestReportEngine::wrapsOnlyWhatDoesNotFit_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "The Collected Works";
    QTest::newRow("kerned pairs") << "AVAWAY To Ty Yo LT";
    QTest::newRow("wide letters") << "WWWWMMMMWWWW";
    QTest::newRow("narrow letters") << "iiiilllljjjj";
    QTest::newRow("accents") << "Émile Zola, Œuvres complètes";
    QTest::newRow("beyond Latin") << "Достоевский Δ";
    QTest::newRow("ligatures") << "fifflffi office";
}

// A text is kept on one line exactly when its measured width fits, however
// close to the width it comes: the quick sum of the letters' advances must
// never keep a text that does not fit on one line.
void TestReportEngine::wrapsOnlyWhatDoesNotFit()
{
    QFETCH(QString, text);
    const TextMeasure measure;
    for (FontRole role : {FontRole::Detail, FontRole::DetailBold, FontRole::Group2}) {
        const double exact = measure.width(role, text);
        for (double room :
             {exact - 2, exact - 0.5, exact - 0.01, exact, exact + 0.5, exact + 3, exact * 1.2}) {
            const QStringList lines = measure.wrap(role, text, room);
            QVERIFY(!lines.isEmpty());
            const bool oneLine = lines.size() == 1;
            QVERIFY2(oneLine == (exact <= room), qPrintable(QStringLiteral("%1 in %2").arg(exact).arg(room)));
        }
    }
}

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
