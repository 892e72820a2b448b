#include "reportpainter.h"
#include "reporttesting.h"
#include "testcatalogue.h"

#include <QTest>

using namespace shelvio;
using namespace shelvio::reports;
using testing::TestCatalogue;

namespace {

struct FixtureBook {
    QString title;
    QString author;
    QString firstName;
    int flags; // 1 read, 2 want to read, 4 want to buy, 8 own
    std::optional<qint64> rating;
    QString dateRead;
    QStringList categories;
    std::optional<qint64> costUnits = std::nullopt;
    QString comments = QString();
};

// One catalogue for all eighteen reports: names empty and Null, titles
// with articles and accents, odd and off-scale ratings, dates that cannot
// be read, books in 0, 1 and 3 categories, and every combination of flags.
void buildFixture(TestCatalogue& file)
{
    for (const char* name : {"Fiction", "Children's", "Classics", "Philosophy"})
        file.addCategory(QString::fromUtf8(name));
    const std::vector<FixtureBook> books{
        {"The Hobbit", "Tolkien", "J.R.R.", 1 | 8, 10, "9/21/1999", {"Fiction", "Children's", "Classics"}},
        {"Émile", "Rousseau", "Jean-Jacques", 1 | 8, 9, "1/5/2001", {"Philosophy"}},
        {"apple pie", "", "", 4, 0, "//", {}, 125000},
        {"Zebra Stripes", "", "", 2, 0, "//", {}},
        {"Middlemarch",
         "Eliot",
         "George",
         1 | 4 | 8,
         11,
         "sometime in spring",
         {"Fiction"},
         std::nullopt,
         "Read it twice.\nThe second time slowly."},
        {"Brave New World", "Huxley", "Aldous", 1 | 2, 2, "3/14/2001", {"Fiction"}},
        {"Ästhetik", "Hegel", "G.W.F.", 1 | 2, 5, "12/1/1999", {}},
        {"Dune", "herbert", "Frank", 1, 6, "7/4/2010", {"Fiction"}},
        {"Emma", "Austen", "Jane", 1 | 2 | 4 | 8, 8, "2/29/2000", {"Classics"}, 79900},
        {"A Tale of Two Cities", "Dickens", "Charles", 0, 4, "//", {}},
    };
    for (const FixtureBook& fixture : books) {
        Book record = testing::book(fixture.title, fixture.author, fixture.firstName);
        record.readBook = fixture.flags & 1;
        record.wantToRead = fixture.flags & 2;
        record.wantToBuy = fixture.flags & 4;
        record.ownBook = fixture.flags & 8;
        record.rating = fixture.rating;
        record.dateRead = fixture.dateRead;
        record.costUnits = fixture.costUnits;
        record.comments = fixture.comments;
        record.categories = fixture.categories;
        file.addBook(record);
    }
    for (int flags = 0; flags < 16; ++flags) {
        Book record = testing::book(QStringLiteral("Combo %1").arg(flags, 2, 10, QChar(u'0')),
                                    QStringLiteral("Zweig"), QStringLiteral("Stefan"));
        record.readBook = flags & 1;
        record.wantToRead = flags & 2;
        record.wantToBuy = flags & 4;
        record.ownBook = flags & 8;
        file.addBook(record);
    }
    // Rows the editor would never write: Null names, rating and flag.
    file.exec(QStringLiteral("UPDATE Books SET Author = NULL, GA1 = NULL, Rating = NULL, DateRead = NULL "
                             "WHERE Title = 'Zebra Stripes'"));
    file.exec(QStringLiteral("UPDATE Books SET OwnBook = NULL WHERE Title = 'Brave New World'"));
}

QStringList combos(std::initializer_list<int> numbers)
{
    QStringList titles;
    for (int n : numbers)
        titles << QStringLiteral("Combo %1").arg(n, 2, 10, QChar(u'0'));
    return titles;
}

QStringList operator+(const QStringList& a, const char* b)
{
    return a + QStringList{QString::fromUtf8(b)};
}

// The title column of a list report's page, top to bottom.
std::vector<const PageItem*> titleColumn(const ReportPage& page)
{
    double sortTitleLeft = -1;
    for (const PageItem& item : page.items) {
        if (item.font == FontRole::Heading && item.text == QStringLiteral("Title"))
            sortTitleLeft = item.rect.left();
    }
    std::vector<const PageItem*> titles;
    for (const PageItem& item : page.items) {
        if (item.kind == PageItem::Kind::Text && item.font == FontRole::Detail &&
            qAbs(item.rect.left() - sortTitleLeft) < 0.01)
            titles.push_back(&item);
    }
    return titles;
}

// The title column of a list report, in page order.
QStringList listedTitles(const ReportDocument& document)
{
    QStringList titles;
    for (const ReportPage& page : testing::allPages(document)) {
        for (const PageItem* item : titleColumn(page))
            titles << item->text;
    }
    return titles;
}

// Each listed title as "heading: title", the heading being the outer group
// heading printed last above it.
QStringList titlesUnderOuterHeadings(const ReportDocument& document)
{
    QStringList filed;
    QString heading;
    auto mark = document.groups().begin();
    for (int page = 0; page < document.pageCount(); ++page) {
        const ReportPage content = document.page(page);
        for (const PageItem* item : titleColumn(content)) {
            for (; mark != document.groups().end() &&
                   std::pair(mark->page, mark->y) < std::pair(page, item->rect.top());
                 ++mark) {
                if (mark->level == 0)
                    heading = mark->heading;
            }
            filed << heading + QStringLiteral(": ") + item->text;
        }
    }
    return filed;
}

struct Entry {
    QString title;
    QMap<QString, bool> flags; // caption: ticked
    QString categories;
    int page = 0;
};

// The full entries of a full listing, read back from the pages.
QList<Entry> fullEntries(const ReportDocument& document)
{
    QList<Entry> entries;
    for (int page = 0; page < document.pageCount(); ++page) {
        const auto& items = document.page(page).items;
        for (size_t i = 0; i < items.size(); ++i) {
            const PageItem& item = items[i];
            if (item.font == FontRole::DetailBold && item.kind == PageItem::Kind::Text &&
                !item.text.endsWith(QStringLiteral("listed.")))
                entries.append({item.text, {}, {}, page});
            else if (entries.isEmpty())
                continue;
            else if (item.kind == PageItem::Kind::FlagTicked || item.kind == PageItem::Kind::FlagEmpty)
                entries.last().flags[items[i + 1].text] = item.kind == PageItem::Kind::FlagTicked;
            else if (item.font == FontRole::Heading && item.text == QStringLiteral("Categories"))
                entries.last().categories =
                    items[i + 1].font == FontRole::Detail && items[i + 1].rect.left() > item.rect.left()
                        ? items[i + 1].text
                        : QString();
        }
    }
    return entries;
}

// The ticked state of the "Read" picture beside each title of a listing.
QMap<QString, bool> readPictures(const ReportDocument& document)
{
    QMap<QString, bool> ticked;
    for (const ReportPage& page : testing::allPages(document)) {
        QString title;
        for (const PageItem& item : page.items) {
            if (item.kind == PageItem::Kind::Text && item.font == FontRole::Detail && title.isEmpty())
                title = item.text;
            if (item.kind == PageItem::Kind::FlagTicked || item.kind == PageItem::Kind::FlagEmpty) {
                ticked[title] = item.kind == PageItem::Kind::FlagTicked;
                title.clear();
            }
        }
    }
    return ticked;
}

QStringList headings(const ReportDocument& document, int level)
{
    QStringList result;
    for (const GroupMark& mark : document.groups()) {
        if (mark.level == level)
            result << mark.heading;
    }
    return result;
}

const QStringList allByTitle =
    QStringList{"apple pie", "Ästhetik", "Brave New World"} +
    combos({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) +
    QStringList{"Dune",         "Émile", "Emma", "Hobbit, The ", "Middlemarch", "Tale of Two Cities, A",
                "Zebra Stripes"};
const QStringList allByAuthor = QStringList{"Emma", "Tale of Two Cities, A", "Middlemarch", "Ästhetik",
                                            "Dune", "Brave New World",       "Émile",       "Hobbit, The "} +
                                combos({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) +
                                QStringList{"apple pie", "Zebra Stripes"};

} // namespace

class TestReportCatalogue : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void listsBooksInOrder_data();
    void listsBooksInOrder();
    void groupsAsTheReportSays_data();
    void groupsAsTheReportSays();
    void letterHeadingsFollowTheBooksOrder_data();
    void letterHeadingsFollowTheBooksOrder();
    void pageBreakTwinsStartEachLetterOnANewPage_data();
    void pageBreakTwinsStartEachLetterOnANewPage();
    void readPicturesFollowTheStoredFlag();
    void fullListingsShowEveryFlagAndCategory_data();
    void fullListingsShowEveryFlagAndCategory();
    void printsValuesInTheLocaleAndNothingForEmpty();
    void everyReportExportsToPdf();
    void selectiveReportsWithNoBookMarkedAreEmpty_data();
    void selectiveReportsWithNoBookMarkedAreEmpty();

private:
    std::unique_ptr<TestCatalogue> m_file;
};

void TestReportCatalogue::initTestCase()
{
    m_file = std::make_unique<TestCatalogue>();
    buildFixture(*m_file);
}

void TestReportCatalogue::listsBooksInOrder_data()
{
    QTest::addColumn<QString>("definition");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("crBooksByTitle") << "crBooksByTitle" << allByTitle;
    QTest::newRow("crBooksByTitlePgBreak") << "crBooksByTitlePgBreak" << allByTitle;
    QTest::newRow("crBooksByAuthor") << "crBooksByAuthor" << allByAuthor;
    QTest::newRow("crBooksByAuthorPgBreak") << "crBooksByAuthorPgBreak" << allByAuthor;
    QTest::newRow("crBooksReadByTitle")
        << "crBooksReadByTitle"
        << QStringList{"Ästhetik", "Brave New World"} + combos({1, 3, 5, 7, 9, 11, 13, 15}) +
               QStringList{"Dune", "Émile", "Emma", "Hobbit, The ", "Middlemarch"};
    QTest::newRow("crBooksReadByAuthor")
        << "crBooksReadByAuthor"
        << QStringList{"Emma",  "Middlemarch", "Ästhetik", "Dune", "Brave New World",
                       "Émile", "Hobbit, The "} +
               combos({1, 3, 5, 7, 9, 11, 13, 15});
    QTest::newRow("crBooksToReadByTitle")
        << "crBooksToReadByTitle"
        << QStringList{"Ästhetik", "Brave New World"} + combos({2, 3, 6, 7, 10, 11, 14, 15}) + "Emma" +
               "Zebra Stripes";
    QTest::newRow("crBooksToRead") << "crBooksToRead"
                                   << QStringList{"Emma", "Ästhetik", "Brave New World"} +
                                          combos({2, 3, 6, 7, 10, 11, 14, 15}) + "Zebra Stripes";
    QTest::newRow("crBooksToBuyByTitle")
        << "crBooksToBuyByTitle"
        << QStringList{"apple pie"} + combos({4, 5, 6, 7, 12, 13, 14, 15}) + "Emma" + "Middlemarch";
    QTest::newRow("crBooksToBuyByAuthor")
        << "crBooksToBuyByAuthor"
        << QStringList{"Emma", "Middlemarch"} + combos({4, 5, 6, 7, 12, 13, 14, 15}) + "apple pie";
    QTest::newRow("crBooksOwnedByTitle")
        << "crBooksOwnedByTitle"
        << combos({8, 9, 10, 11, 12, 13, 14, 15}) + "Émile" + "Emma" + "Hobbit, The " + "Middlemarch";
    QTest::newRow("crBooksOwnedByAuthor") << "crBooksOwnedByAuthor"
                                          << QStringList{"Emma", "Middlemarch", "Émile", "Hobbit, The "} +
                                                 combos({8, 9, 10, 11, 12, 13, 14, 15});
    QTest::newRow("crSequentialListing")
        << "crSequentialListing"
        << QStringList{"Hobbit, The ", "Ästhetik", "Emma", "Émile", "Brave New World", "Dune"} +
               combos({1, 3, 5, 7, 9, 11, 13, 15}) + "Middlemarch";
    QTest::newRow("crBookRating")
        << "crBookRating"
        << QStringList{"Hobbit, The ",          "Émile",           "Emma",     "Dune", "Ästhetik",
                       "Tale of Two Cities, A", "Brave New World", "apple pie"} +
               combos({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) + "Middlemarch" +
               "Zebra Stripes";
}

void TestReportCatalogue::listsBooksInOrder()
{
    QFETCH(QString, definition);
    QFETCH(QStringList, titles);
    const ReportDocument document = testing::runReport(definition, m_file->path());
    QCOMPARE(listedTitles(document), titles);
    QVERIFY(testing::allTexts(document).contains(QStringLiteral("%1 books listed.").arg(titles.size())));
}

void TestReportCatalogue::groupsAsTheReportSays_data()
{
    QTest::addColumn<QString>("definition");
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("expected");
    const QStringList letters{"A", "B", "C", "D", "E", "H", "M", "T", "Z"};
    QTest::newRow("title letters") << "crBooksByTitle" << 0 << letters;
    QTest::newRow("full listing title letters") << "crFullListingByTitle" << 0 << letters;
    QTest::newRow("author letters") << "crBooksByAuthor" << 0
                                    << QStringList{"A", "D", "E", "H", "R", "T", "Z", "Without an author"};
    QTest::newRow("authors within letters")
        << "crBooksByAuthor" << 1
        << QStringList{"Austen, Jane",           "Dickens, Charles", "Eliot, George",
                       "Hegel, G.W.F.",          "herbert, Frank",   "Huxley, Aldous",
                       "Rousseau, Jean-Jacques", "Tolkien, J.R.R.",  "Zweig, Stefan"};
    QTest::newRow("to buy by author")
        << "crBooksToBuyByAuthor" << 0
        << QStringList{"Austen, Jane", "Eliot, George", "Zweig, Stefan", "Without an author"};
    QTest::newRow("full listing by author down")
        << "crFullListingByAuthorInColumns" << 0
        << QStringList{"Austen, Jane",   "Dickens, Charles", "Eliot, George",          "Hegel, G.W.F.",
                       "herbert, Frank", "Huxley, Aldous",   "Rousseau, Jean-Jacques", "Tolkien, J.R.R.",
                       "Zweig, Stefan",  "Without an author"};
    QTest::newRow("years read") << "crSequentialListing" << 0
                                << QStringList{"1999", "2000", "2001", "2010", "Date read not known"};
    QTest::newRow("ratings") << "crBookRating" << 0 << QStringList{"Excellent",   "Very Good – Excellent",
                                                                   "Very Good",   "Good",
                                                                   "Fair – Good", "Fair",
                                                                   "Bad",         "Not rated"};
    QTest::newRow("ungrouped") << "crBooksOwnedByTitle" << 0 << QStringList{};
}

void TestReportCatalogue::groupsAsTheReportSays()
{
    QFETCH(QString, definition);
    QFETCH(int, level);
    QFETCH(QStringList, expected);
    const ReportDocument document = testing::runReport(definition, m_file->path());
    QCOMPARE(headings(document, level), expected);
    // The headings are printed where the marks say.
    for (const GroupMark& mark : document.groups())
        QVERIFY(document.page(mark.page).texts().contains(mark.heading));
}

void TestReportCatalogue::letterHeadingsFollowTheBooksOrder_data()
{
    QTest::addColumn<QString>("definition");
    QTest::addColumn<QStringList>("filed");
    const QStringList byAuthor{"': Building Blocks",
                               "5: Get Rich",
                               "A: Emma",
                               "E: Middlemarch",
                               "E: Capitale de la douleur",
                               "F: \"Surely You're Joking\"",
                               "G: Émaux et Camées",
                               "H: Odyssey",
                               "K: 'Salem's Lot",
                               "M: Immaculate Collection, The ",
                               "M: Buddenbrooks",
                               "O: 1984",
                               "P: Istanbul",
                               "Q: zazie dans le métro",
                               "ı: ılık",
                               "Without an author: Beowulf",
                               "Without an author: Cloud of Unknowing"};
    const QStringList byTitle{"\": \"Surely You're Joking\"",
                              "': 'Salem's Lot",
                              "1: 1984",
                              "B: Beowulf",
                              "B: Buddenbrooks",
                              "B: Building Blocks",
                              "C: Capitale de la douleur",
                              "C: Cloud of Unknowing",
                              "E: Émaux et Camées",
                              "E: Emma",
                              "G: Get Rich",
                              "I: Immaculate Collection, The ",
                              "I: Istanbul",
                              "M: Middlemarch",
                              "O: Odyssey",
                              "Z: zazie dans le métro",
                              "ı: ılık"};
    QTest::newRow("crBooksByAuthor") << "crBooksByAuthor" << byAuthor;
    QTest::newRow("crBooksByAuthorPgBreak") << "crBooksByAuthorPgBreak" << byAuthor;
    QTest::newRow("crBooksByTitle") << "crBooksByTitle" << byTitle;
    QTest::newRow("crBooksByTitlePgBreak") << "crBooksByTitlePgBreak" << byTitle;
}

// A book is filed under the initial of the text it is ordered by: its last
// name, or its first name where it has none; its sort title in the title
// listings. So each letter heads one run of books, and the runs follow the
// books' order, whatever the names start with.
void TestReportCatalogue::letterHeadingsFollowTheBooksOrder()
{
    QFETCH(QString, definition);
    QFETCH(QStringList, filed);
    TestCatalogue file;
    const struct {
        const char* title;
        const char* author;
        const char* firstName;
    } books[] = {
        {"Buddenbrooks", "Mann", "Thomas"},
        {"The Immaculate Collection", "", "Madonna"},
        {"Odyssey", "", "Homer"},
        {"Beowulf", "", ""},
        {"Cloud of Unknowing", "", ""},
        {"Middlemarch", "Eliot", "George"},
        {"Capitale de la douleur", "Éluard", "Paul"},
        {"Emma", "Austen", "Jane"},
        {"zazie dans le métro", "queneau", "raymond"},
        {"1984", "Orwell", "George"},
        {"Get Rich", "50 Cent", ""},
        {"'Salem's Lot", "King", "Stephen"},
        {"\"Surely You're Joking\"", "Feynman", "Richard"},
        {"Building Blocks", "'t Hooft", "Gerard"},
        {"Émaux et Camées", "Gautier", "Théophile"},
        {"Istanbul", "Pamuk", "Orhan"},
        {"ılık", "ılgaz", "Rıfat"},
    };
    for (const auto& book : books)
        file.addBook(QString::fromUtf8(book.title), QString::fromUtf8(book.author),
                     QString::fromUtf8(book.firstName));
    // Null names, as older files hold them.
    file.exec(QStringLiteral("UPDATE Books SET Author = NULL WHERE Title = 'Odyssey'"));
    file.exec(
        QStringLiteral("UPDATE Books SET Author = NULL, GA1 = NULL WHERE Title = 'Cloud of Unknowing'"));

    const ReportDocument document = testing::runReport(definition, file.path());
    QCOMPARE(titlesUnderOuterHeadings(document), filed);
    QStringList letters;
    for (const QString& entry : filed) {
        const QString letter = entry.section(QStringLiteral(": "), 0, 0);
        if (letters.isEmpty() || letters.last() != letter)
            letters << letter;
    }
    QCOMPARE(headings(document, 0), letters);
}

void TestReportCatalogue::pageBreakTwinsStartEachLetterOnANewPage_data()
{
    QTest::addColumn<QString>("twin");
    QTest::addColumn<QString>("plain");
    QTest::newRow("author") << "crBooksByAuthorPgBreak"
                            << "crBooksByAuthor";
    QTest::newRow("title") << "crBooksByTitlePgBreak"
                           << "crBooksByTitle";
}

void TestReportCatalogue::pageBreakTwinsStartEachLetterOnANewPage()
{
    QFETCH(QString, twin);
    QFETCH(QString, plain);
    const ReportDocument broken = testing::runReport(twin, m_file->path());
    const ReportDocument flowing = testing::runReport(plain, m_file->path());
    const QStringList letters = headings(broken, 0);
    // The fixture's groups each fit on a page: one page per letter.
    QCOMPARE(broken.pageCount(), letters.size());
    int page = 0;
    for (const GroupMark& mark : broken.groups()) {
        if (mark.level == 0)
            QCOMPARE(mark.page, page++);
    }
    QVERIFY(flowing.pageCount() < broken.pageCount());
    QVERIFY(broken.page(broken.pageCount() - 1)
                .texts()
                .contains(QStringLiteral("Page %1 of %1").arg(letters.size())));
}

void TestReportCatalogue::readPicturesFollowTheStoredFlag()
{
    for (const char* name :
         {"crBooksByTitle", "crBooksByAuthor", "crBooksByTitlePgBreak", "crBooksByAuthorPgBreak"}) {
        const ReportDocument document = testing::runReport(QString::fromUtf8(name), m_file->path());
        const QMap<QString, bool> ticked = readPictures(document);
        QCOMPARE(ticked.size(), 26);
        QCOMPARE(ticked.value(QStringLiteral("Hobbit, The ")), true);
        QCOMPARE(ticked.value(QStringLiteral("Tale of Two Cities, A")), false);
        QCOMPARE(ticked.value(QStringLiteral("Zebra Stripes")), false);
        for (int flags = 0; flags < 16; ++flags)
            QCOMPARE(ticked.value(QStringLiteral("Combo %1").arg(flags, 2, 10, QChar(u'0'))),
                     bool(flags & 1));
    }
}

void TestReportCatalogue::fullListingsShowEveryFlagAndCategory_data()
{
    QTest::addColumn<QString>("definition");
    for (const char* name : {"crFullListingByAuthor", "crFullListingByTitle",
                             "crFullListingByAuthorInColumns", "crFullListingByTitleInColumns"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

void TestReportCatalogue::fullListingsShowEveryFlagAndCategory()
{
    QFETCH(QString, definition);
    const ReportDocument document = testing::runReport(definition, m_file->path());
    const QList<Entry> entries = fullEntries(document);
    QCOMPARE(entries.size(), 26); // each book once, also those in no category
    QMap<QString, Entry> byTitle;
    for (const Entry& entry : entries)
        byTitle.insert(entry.title, entry);
    QCOMPARE(byTitle.size(), 26);
    QCOMPARE(byTitle.value(QStringLiteral("Hobbit, The ")).categories,
             QStringLiteral("Children's, Classics, Fiction"));
    QCOMPARE(byTitle.value(QStringLiteral("Émile")).categories, QStringLiteral("Philosophy"));
    QCOMPARE(byTitle.value(QStringLiteral("apple pie")).categories, QString());
    const QStringList captions{"Have Read Book", "Want to Read Book", "Want to Buy this Book",
                               "Own the Book"};
    for (int flags = 0; flags < 16; ++flags) {
        const Entry entry = byTitle.value(QStringLiteral("Combo %1").arg(flags, 2, 10, QChar(u'0')));
        QCOMPARE(entry.flags.keys().size(), 4);
        for (int bit = 0; bit < 4; ++bit)
            QCOMPARE(entry.flags.value(captions[bit]), bool(flags & (1 << bit)));
    }
    // A Null flag shows the empty box.
    QCOMPARE(byTitle.value(QStringLiteral("Brave New World")).flags.value(QStringLiteral("Own the Book")),
             false);
}

void TestReportCatalogue::printsValuesInTheLocaleAndNothingForEmpty()
{
    const ReportDocument toBuy = testing::runReport(QStringLiteral("crBooksToBuyByTitle"), m_file->path());
    const QStringList texts = testing::allTexts(toBuy);
    QVERIFY(texts.contains(QStringLiteral("$12.50")));
    QVERIFY(texts.contains(QStringLiteral("$7.99")));
    const ReportDocument full = testing::runReport(QStringLiteral("crFullListingByTitle"), m_file->path());
    QVERIFY(testing::allTexts(full).contains(QStringLiteral("The second time slowly.")));
    QVERIFY(testing::allTexts(full).contains(QStringLiteral("Very Good – Excellent")));
    for (const ReportDefinition& definition : reportDefinitions()) {
        for (const QString& text : testing::allTexts(testing::runReport(definition.name, m_file->path()))) {
            QVERIFY2(text != QStringLiteral("0") && text != QStringLiteral("//") &&
                         !text.contains(QStringLiteral("null"), Qt::CaseInsensitive),
                     qPrintable(QString(definition.name + QStringLiteral(": ") + text)));
        }
    }
}

void TestReportCatalogue::everyReportExportsToPdf()
{
    for (const ReportDefinition& definition : reportDefinitions()) {
        const ReportDocument document = testing::runReport(definition.name, m_file->path());
        const QString pdf = m_file->folder() + u'/' + definition.name + QStringLiteral(".pdf");
        const Status written = exportPdf(document, pdf);
        QVERIFY2(written, qPrintable(written.error().text()));
        QCOMPARE(testing::pdfPageCount(pdf), document.pageCount());
        const QString text = testing::pdfText(pdf);
        QVERIFY2(text.contains(definition.caption), qPrintable(definition.name));
        QVERIFY(text.contains(QStringLiteral("Page 1 of %1").arg(document.pageCount())));
        QVERIFY(text.contains(QStringLiteral("books listed.")));
    }
    const QString text = testing::pdfText(m_file->folder() + QStringLiteral("/crBooksByAuthor.pdf"));
    for (const char* expected : {"Ästhetik", "Émile", "Without an author", "Rousseau, Jean-Jacques"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
}

void TestReportCatalogue::selectiveReportsWithNoBookMarkedAreEmpty_data()
{
    QTest::addColumn<QString>("definition");
    for (const char* name : {"crBooksToRead", "crBooksToReadByTitle", "crBooksReadByAuthor",
                             "crBooksReadByTitle", "crBooksToBuyByAuthor", "crBooksToBuyByTitle",
                             "crBooksOwnedByAuthor", "crBooksOwnedByTitle", "crSequentialListing"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

void TestReportCatalogue::selectiveReportsWithNoBookMarkedAreEmpty()
{
    QFETCH(QString, definition);
    TestCatalogue file;
    file.addBook(QStringLiteral("Nothing Marked"), QStringLiteral("Nobody"));
    const ReportDocument document = testing::runReport(definition, file.path());
    QCOMPARE(document.pageCount(), 1);
    QVERIFY(document.groups().empty());
    QVERIFY(listedTitles(document).isEmpty());
    const QStringList texts = testing::allTexts(document);
    QVERIFY(!texts.contains(QStringLiteral("Nothing Marked")));
    QVERIFY(texts.contains(QStringLiteral("0 books listed.")));
    QVERIFY(texts.contains(QStringLiteral("Page 1 of 1")));
}

QTEST_MAIN(TestReportCatalogue)
#include "tst_reportcatalogue.moc"
