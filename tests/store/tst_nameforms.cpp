#include "nameforms.h"
#include "numbers.h"
#include "textfold.h"

#include <QTest>

#include <limits>

using namespace shelvio;

class TestNameForms : public QObject {
    Q_OBJECT
private slots:
    void sortTitle_data();
    void sortTitle();
    void authorName_data();
    void authorName();
    void nodeKeys();
    void readDate_data();
    void readDate();
    void ratingFromBoxes_data();
    void ratingFromBoxes();
    void boxesForRating_data();
    void boxesForRating();
    void wholeNumbers_data();
    void wholeNumbers();
    void costs_data();
    void costs();
    void costText();
    void foldedText();
};

// clang-format off
void TestNameForms::sortTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("A") << "A Tale of Two Cities" << "Tale of Two Cities, A";
    QTest::newRow("a lower") << "a tale of two cities" << "tale of two cities, A";
    QTest::newRow("An") << "An Old Map" << "Old Map, An";
    QTest::newRow("an lower") << "an old map" << "old map, An";
    QTest::newRow("AN upper") << "AN AMERICAN TRAGEDY" << "AMERICAN TRAGEDY, An";
    QTest::newRow("The") << "The Hobbit" << "Hobbit, The ";
    QTest::newRow("the lower") << "the hobbit" << "the hobbit";
    QTest::newRow("THE upper") << "THE HOBBIT" << "THE HOBBIT";
    QTest::newRow("Anna") << "Anna Karenina" << "Anna Karenina";
    QTest::newRow("A Nice Day") << "A Nice Day" << "Nice Day, A";
    QTest::newRow("Theory") << "Theory of Games" << "Theory of Games";
    QTest::newRow("The alone") << "The" << "The";
    QTest::newRow("The blank") << "The " << ", The ";
    QTest::newRow("A blank") << "A " << ", A";
    QTest::newRow("leading blank") << " The Hobbit" << " The Hobbit";
    QTest::newRow("trailing blank") << "The Hobbit " << "Hobbit , The ";
    QTest::newRow("apostrophe") << "Charlotte's Web" << "Charlotte's Web";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("A alone") << "A" << "A";
    QTest::newRow("only one article") << "A The End" << "The End, A";
}
// clang-format on

void TestNameForms::sortTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, expected);
    QCOMPARE(shelvio::sortTitle(title), expected);
}

// clang-format off
void TestNameForms::authorName_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("expected");
    QTest::newRow("both") << "Tolkien" << "J.R.R." << "Tolkien, J.R.R.";
    QTest::newRow("trimmed") << "  Tolkien " << " J.R.R.  " << "Tolkien, J.R.R.";
    QTest::newRow("no first name") << "Homer" << "" << "Homer, ";
    QTest::newRow("no last name") << "" << "Madonna" << ", Madonna";
    QTest::newRow("both empty") << "" << "" << "<Null>, <Null>";
    QTest::newRow("both blank") << "   " << " " << "<Null>, <Null>";
    QTest::newRow("tab is not a blank") << "\t" << "" << "\t, ";
}
// clang-format on

void TestNameForms::authorName()
{
    QFETCH(QString, last);
    QFETCH(QString, first);
    QFETCH(QString, expected);
    QCOMPARE(shelvio::authorName(last, first), expected);
}

void TestNameForms::nodeKeys()
{
    QCOMPARE(signedText(12), QStringLiteral(" 12"));
    QCOMPARE(signedText(0), QStringLiteral(" 0"));
    QCOMPARE(signedText(-3), QStringLiteral("-3"));
    QCOMPARE(titleNodeKey(12), QStringLiteral("T 12"));
    QCOMPARE(titleNodeKey(5000000000), QStringLiteral("T 5000000000"));
    QCOMPARE(authorNodeKey(shelvio::authorName({}, {})), QStringLiteral("A<Null>, <Null>"));
    QCOMPARE(categoryNodeKey(QStringLiteral("Fiction")), QStringLiteral("CFiction"));
    QCOMPARE(categoryBookNodeKey(0, 12), QStringLiteral(" 0T~ 12"));

    QCOMPARE(bookIdFromNodeKey(titleNodeKey(40002), false), std::optional<qint64>(40002));
    QCOMPARE(bookIdFromNodeKey(titleNodeKey(5000000000), false), std::optional<qint64>(5000000000));
    QCOMPARE(bookIdFromNodeKey(categoryBookNodeKey(7, 32768), true), std::optional<qint64>(32768));
    // Numbers another program gave: below zero, as far as SQLite goes.
    QCOMPARE(bookIdFromNodeKey(titleNodeKey(-5), false), std::optional<qint64>(-5));
    QCOMPARE(bookIdFromNodeKey(titleNodeKey(std::numeric_limits<qint64>::min()), false),
             std::optional<qint64>(std::numeric_limits<qint64>::min()));
    QCOMPARE(bookIdFromNodeKey(categoryBookNodeKey(-1, -32768), true), std::optional<qint64>(-32768));
    QCOMPARE(bookIdFromNodeKey(QStringLiteral("ASmith, John"), false), std::nullopt);
    QCOMPARE(bookIdFromNodeKey(QStringLiteral("CFiction"), true), std::nullopt);
}

// clang-format off
void TestNameForms::readDate_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("year");
    QTest::newRow("no date") << "//" << "" << "" << "";
    QTest::newRow("full date") << "3/14/2001" << "3" << "14" << "2001";
    QTest::newRow("extra slashes stay in the year") << "1/2/3/4" << "1" << "2" << "3/4";
    QTest::newRow("no slash: year") << "2004" << "" << "" << "2004";
    QTest::newRow("one slash: month and year") << "3/2004" << "3" << "" << "2004";
    QTest::newRow("empty") << "" << "" << "" << "";
    QTest::newRow("text kept as typed") << "03/ x/1999 " << "03" << " x" << "1999 ";
}
// clang-format on

void TestNameForms::readDate()
{
    QFETCH(QString, stored);
    QFETCH(QString, month);
    QFETCH(QString, day);
    QFETCH(QString, year);
    QCOMPARE(splitReadDate(stored), (ReadDateParts{month, day, year}));
    if (stored.count(u'/') == 2)
        QCOMPARE(readDateText(month, day, year), stored);
}

// clang-format off
void TestNameForms::ratingFromBoxes_data()
{
    // Boxes in the order Bad, Fair, Good, Very Good, Excellent.
    QTest::addColumn<RatingBoxes>("boxes");
    QTest::addColumn<int>("rating");
    QTest::newRow("none") << RatingBoxes{} << 0;
    QTest::newRow("Excellent") << RatingBoxes{false, false, false, false, true} << 10;
    QTest::newRow("Bad") << RatingBoxes{true, false, false, false, false} << 2;
    QTest::newRow("Fair+Good") << RatingBoxes{false, true, true, false, false} << 5;
    QTest::newRow("Bad+Fair+Good") << RatingBoxes{true, true, true, false, false} << 4;
    QTest::newRow("all five") << RatingBoxes{true, true, true, true, true} << 6;
    QTest::newRow("Bad+Excellent") << RatingBoxes{true, false, false, false, true} << 9;
    QTest::newRow("Very Good+Excellent") << RatingBoxes{false, false, false, true, true} << 9;
}
// clang-format on

void TestNameForms::ratingFromBoxes()
{
    QFETCH(RatingBoxes, boxes);
    QFETCH(int, rating);
    QCOMPARE(shelvio::ratingFromBoxes(boxes), rating);
}

// clang-format off
void TestNameForms::boxesForRating_data()
{
    QTest::addColumn<qint64>("rating");
    QTest::addColumn<RatingBoxes>("boxes");
    QTest::newRow("0") << qint64(0) << RatingBoxes{};
    QTest::newRow("1") << qint64(1) << RatingBoxes{};
    QTest::newRow("2") << qint64(2) << RatingBoxes{true, false, false, false, false};
    QTest::newRow("3") << qint64(3) << RatingBoxes{true, true, false, false, false};
    QTest::newRow("7") << qint64(7) << RatingBoxes{false, false, true, true, false};
    QTest::newRow("9") << qint64(9) << RatingBoxes{false, false, false, true, true};
    QTest::newRow("10") << qint64(10) << RatingBoxes{false, false, false, false, true};
    QTest::newRow("11") << qint64(11) << RatingBoxes{};
    QTest::newRow("-4") << qint64(-4) << RatingBoxes{};
}
// clang-format on

void TestNameForms::boxesForRating()
{
    QFETCH(qint64, rating);
    QFETCH(RatingBoxes, boxes);
    QCOMPARE(shelvio::boxesForRating(rating), boxes);
    // Every value the boxes can show comes back as itself.
    if (rating >= 2 && rating <= 10)
        QCOMPARE(qint64(shelvio::ratingFromBoxes(boxes)), rating);
    QCOMPARE(shelvio::boxesForRating(std::nullopt), RatingBoxes{});
}

// clang-format off
void TestNameForms::wholeNumbers_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("value");
    const int null = ParsedNumber::Null, value = ParsedNumber::Value, tooBig = ParsedNumber::OutOfRange;
    QTest::newRow("year") << "en_US" << "1937" << value << qint64(1937);
    QTest::newRow("blanks around") << "en_US" << "  1937 " << value << qint64(1937);
    QTest::newRow("circa") << "en_US" << "circa 1900" << null << qint64(0);
    QTest::newRow("empty") << "en_US" << "" << null << qint64(0);
    QTest::newRow("grouped") << "en_US" << "1,500" << value << qint64(1500);
    QTest::newRow("German grouping") << "de_DE" << "1.500" << value << qint64(1500);
    QTest::newRow("C form in German") << "de_DE" << "12.5" << value << qint64(12);
    QTest::newRow("half to even down") << "en_US" << "12.5" << value << qint64(12);
    QTest::newRow("half to even up") << "en_US" << "13.5" << value << qint64(14);
    QTest::newRow("negative") << "en_US" << "-44" << value << qint64(-44);
    // Egyptian Arabic writes a direction mark before the minus sign.
    QTest::newRow("Arabic negative") << "ar_EG" << QLocale(QStringLiteral("ar_EG")).toString(-10) << value << qint64(-10);
    QTest::newRow("largest") << "en_US" << "2147483647" << value << qint64(2147483647);
    QTest::newRow("too large") << "en_US" << "2147483648" << tooBig << qint64(0);
    QTest::newRow("smallest") << "en_US" << "-2147483648" << value << qint64(-2147483648LL);
    QTest::newRow("too small") << "en_US" << "-2147483649" << tooBig << qint64(0);
    QTest::newRow("huge") << "en_US" << "1e300" << tooBig << qint64(0);
    QTest::newRow("nan") << "en_US" << "nan" << null << qint64(0);
}
// clang-format on

void TestNameForms::wholeNumbers()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(int, kind);
    QFETCH(qint64, value);
    const ParsedNumber parsed = parseWholeNumber(typed, QLocale(locale));
    QCOMPARE(int(parsed.kind), kind);
    QCOMPARE(parsed.value, value);
}

// clang-format off
void TestNameForms::costs_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("units");
    const int null = ParsedNumber::Null, value = ParsedNumber::Value, tooBig = ParsedNumber::OutOfRange;
    QTest::newRow("plain") << "en_US" << "12.5" << value << qint64(125000);
    QTest::newRow("dollar before") << "en_US" << "$12.50" << value << qint64(125000);
    QTest::newRow("euro after") << "de_DE" << "12,50 €" << value << qint64(125000);
    QTest::newRow("pound") << "en_GB" << "£3" << value << qint64(30000);
    QTest::newRow("four decimals") << "en_US" << "1234.5678" << value << qint64(12345678);
    QTest::newRow("rounded to four") << "en_US" << "0.00015" << value << qint64(2);
    QTest::newRow("grouped") << "en_US" << "1,234.5" << value << qint64(12345000);
    QTest::newRow("German grouped") << "de_DE" << "1.234,5" << value << qint64(12345000);
    QTest::newRow("words") << "en_US" << "cheap" << null << qint64(0);
    QTest::newRow("sign alone") << "en_US" << "$" << null << qint64(0);
    // The column keeps a double: four decimals stay exact only below 2^39.
    QTest::newRow("largest") << "en_US" << "549755813887.9999" << value << qint64(5497558138879999);
    QTest::newRow("smallest") << "en_US" << "-549755813887.9999" << value << qint64(-5497558138879999);
    QTest::newRow("too large") << "en_US" << "549755813888" << tooBig << qint64(0);
    QTest::newRow("decimals lost") << "en_US" << "900000000000.0001" << tooBig << qint64(0);
    QTest::newRow("beyond Currency") << "en_US" << "922337203685478" << tooBig << qint64(0);
}
// clang-format on

void TestNameForms::costs()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(int, kind);
    QFETCH(qint64, units);
    const ParsedNumber parsed = parseCost(typed, QLocale(locale));
    QCOMPARE(int(parsed.kind), kind);
    QCOMPARE(parsed.value, units);
}

void TestNameForms::costText()
{
    const QLocale us(QStringLiteral("en_US"));
    QCOMPARE(formatCost(125000, us), QStringLiteral("12.5"));
    QCOMPARE(formatCost(12345678, us), QStringLiteral("1234.5678"));
    QCOMPARE(formatCost(120000, us), QStringLiteral("12"));
    QCOMPARE(formatCost(1, us), QStringLiteral("0.0001"));
    QCOMPARE(formatCost(-125000, us), QStringLiteral("-12.5"));
    QCOMPARE(formatCost(12345678, QLocale(QStringLiteral("de_DE"))), QStringLiteral("1234,5678"));
    QCOMPARE(costUnitsFromAmount(amountFromCostUnits(12345678)), qint64(12345678));
    QCOMPARE(costUnitsFromAmount(0.1 + 0.2), qint64(3000));
    // Every typed cost comes back from the stored double as it went in.
    for (qint64 units = maxCostUnits; units > maxCostUnits - 20000; --units)
        QCOMPARE(costUnitsFromAmount(amountFromCostUnits(units)), units);
}

void TestNameForms::foldedText()
{
    QCOMPARE(sortKey(u"Émile"), sortKey(u"emile"));
    QCOMPARE(caseFold(u"émile"), caseFold(u"Émile"));
    QVERIFY(caseFold(u"Emile") != caseFold(u"Émile"));
    QVERIFY(lessForDisplay(QStringLiteral("art"), QStringLiteral("Zoology")));
    QVERIFY(lessForDisplay(QStringLiteral("Émile"), QStringLiteral("Fiction")));
    QVERIFY(lessForDisplay(QStringLiteral("Fiction"), QStringLiteral("fiction")));
    QVERIFY(!lessForDisplay(QStringLiteral("fiction"), QStringLiteral("Fiction")));
}

QTEST_GUILESS_MAIN(TestNameForms)
#include "tst_nameforms.moc"
