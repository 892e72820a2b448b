// The file formats on their own: CSV records, category lists, text
// encodings, the reading of each other catalogue's sample file and the
// refusal of files that cannot be read.
#include "columns.h"
#include "csv.h"
#include "importfile.h"
#include "importrecord.h"
#include "nameforms.h"
#include "testcatalogue.h"
#include "textfile.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace shelvio::exchange;

namespace {

QString fixture(const QString& name)
{
    return testing::fixturesFolder() + u"/exchange/"_s + name;
}

// A book as one line of text, for comparing what a sample makes.
QString describe(const shelvio::Book& book)
{
    const auto number = [](const std::optional<qint64>& n) {
        return n ? QString::number(*n) : u"-"_s;
    };
    return u"%1 | %2, %3 | year %4 | pages %5 | cost %6 | %7 | rating %8 | read %9 | to read %10 | own %11 | "
           u"[%12] | %13"_s
               .arg(book.title, book.author, book.firstName, number(book.yearPublished), number(book.pages),
                    number(book.costUnits), book.dateRead)
               .arg(book.rating.value_or(-1))
               .arg(book.readBook)
               .arg(book.wantToRead)
               .arg(book.ownBook)
               .arg(book.categories.join(u'|'), book.comments);
}

} // namespace

class TestExchangeFormats : public QObject {
    Q_OBJECT
private slots:
    void csvRecords_data();
    void csvRecords();
    void csvFieldsComeBackWhole();
    void separatorOfFirstLine_data();
    void separatorOfFirstLine();
    void categoryLists_data();
    void categoryLists();
    void ratingWordsBothWays();
    void textEncodings_data();
    void textEncodings();
    void columnsGuessedFromNames();
    void sampleFiles_data();
    void sampleFiles();
    void badFiles_data();
    void badFiles();
};

void TestExchangeFormats::csvRecords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("records"); // each as line:field|field
    QTest::newRow("plain, CR LF") << u"a,b\r\nc,d\r\n"_s << QStringList{u"1:a|b"_s, u"2:c|d"_s};
    QTest::newRow("LF and CR alone, no last break")
        << u"a\nb\rc"_s << QStringList{u"1:a"_s, u"2:b"_s, u"3:c"_s};
    QTest::newRow("empty fields") << u",,\n"_s << QStringList{u"1:||"_s};
    QTest::newRow("quoted separator and quote")
        << u"\"x,y\",\"say \"\"hi\"\"\"\n"_s << QStringList{u"1:x,y|say \"hi\""_s};
    QTest::newRow("line breaks kept inside quotes, lines counted")
        << u"\"one\r\ntwo\nthree\",z\nnext\n"_s << QStringList{u"1:one\r\ntwo\nthree|z"_s, u"4:next"_s};
    QTest::newRow("blank lines left out") << u"a\n\n\nb\n"_s << QStringList{u"1:a"_s, u"4:b"_s};
    QTest::newRow("quoted empty field") << u"\"\",b\n"_s << QStringList{u"1:|b"_s};
    QTest::newRow("text after a closing quote kept") << u"\"ab\"c,d\n"_s << QStringList{u"1:abc|d"_s};
    QTest::newRow("quote inside an unquoted field") << u"5\" disk,e\n"_s << QStringList{u"1:5\" disk|e"_s};
    QTest::newRow("unclosed quote") << u"a,b\nc,\"d\ne\n"_s << QStringList{u"error:Line 2:"_s};
}

void TestExchangeFormats::csvRecords()
{
    QFETCH(QString, text);
    QFETCH(QStringList, records);
    const auto parsed = parseCsv(text, u',');
    if (records.first().startsWith(u"error:"_s)) {
        QVERIFY(!parsed);
        QVERIFY2(parsed.error().text().startsWith(records.first().mid(6)), qPrintable(parsed.error().text()));
        return;
    }
    VERIFY_OK(parsed);
    QStringList got;
    for (const CsvRecord& record : *parsed)
        got << QString::number(record.line) + u':' + record.fields.join(u'|');
    QCOMPARE(got, records);
}

void TestExchangeFormats::csvFieldsComeBackWhole()
{
    const QStringList fields{u"plain"_s,       u""_s,          u"comma, here"_s, u"\"quoted\""_s,
                             u"line\nbreak"_s, u"cr\r\nlf"_s,  u" blanks "_s,    u"tab\there"_s,
                             u"Ünïcödé 書"_s,  u"semi;colon"_s};
    for (QChar separator : {u',', u'\t', u';'}) {
        const QString line = csvLine(fields, separator);
        QVERIFY(line.endsWith(u"\r\n"_s));
        const auto parsed = parseCsv(line, separator);
        VERIFY_OK(parsed);
        QCOMPARE(parsed->size(), 1);
        QCOMPARE(parsed->first().fields, fields);
    }
}

void TestExchangeFormats::separatorOfFirstLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::newRow("comma") << u"Title,Author\nx;y;z\n"_s << u","_s;
    QTest::newRow("tab") << u"Title\tAuthor, First\n"_s << u"\t"_s;
    QTest::newRow("semicolon") << u"Title;Author;Year\n"_s << u";"_s;
    QTest::newRow("quoted separators do not count") << u"\"a;b;c\",d\n"_s << u","_s;
    QTest::newRow("none") << u"Title\n"_s << u","_s;
}

void TestExchangeFormats::separatorOfFirstLine()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QCOMPARE(QString(guessSeparator(text)), separator);
}

void TestExchangeFormats::categoryLists_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("joined");
    QTest::newRow("none") << QStringList{} << QString();
    QTest::newRow("plain") << QStringList{u"Fiction"_s, u"History"_s} << u"Fiction; History"_s;
    QTest::newRow("semicolon and quote")
        << QStringList{u"Sci;Fi"_s, u"The \"Best\""_s} << u"\"Sci;Fi\"; \"The \"\"Best\"\"\""_s;
    QTest::newRow("blanks at the ends") << QStringList{u" Padded "_s, u"x"_s} << u"\" Padded \"; x"_s;
    QTest::newRow("non-ASCII and commas")
        << QStringList{u"Émile, Zola"_s, u"日本"_s} << u"Émile, Zola; 日本"_s;
}

void TestExchangeFormats::categoryLists()
{
    QFETCH(QStringList, names);
    QFETCH(QString, joined);
    QCOMPARE(joinCategories(names), joined);
    QCOMPARE(splitCategories(joined), names);
    // As a person might type them.
    QCOMPARE(splitCategories(u" a ;b;; c "_s), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    QCOMPARE(splitCategories(u"fantasy, classics"_s, u','), (QStringList{u"fantasy"_s, u"classics"_s}));
}

void TestExchangeFormats::ratingWordsBothWays()
{
    for (qint64 rating = 0; rating <= 10; ++rating) {
        const qint64 onScale = rating == 1 ? 0 : rating; // 1 lies below the scale
        QCOMPARE(shelvio::ratingFromText(shelvio::ratingText(rating)), std::optional<qint64>(onScale));
    }
    QCOMPARE(shelvio::ratingFromText(u" very good - EXCELLENT "_s), std::optional<qint64>(9));
    QCOMPARE(shelvio::ratingFromText(u"Superb"_s), std::nullopt);
    QCOMPARE(shelvio::ratingFromText(u"Bad – Good"_s), std::nullopt); // not neighbours
    QCOMPARE(ratingFromStars(u"3.5"_s), std::optional<qint64>(7));
    QCOMPARE(ratingFromStars(u"0.5"_s), std::nullopt);
    QCOMPARE(ratingFromStars(u"6"_s), std::nullopt);
}

void TestExchangeFormats::textEncodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("fallback");
    QTest::addColumn<QString>("text"); // or the start of the error
    const QString cafe = u"Title\nCafé"_s;
    QTest::newRow("UTF-8") << cafe.toUtf8() << QByteArray("UTF-8") << cafe;
    QTest::newRow("UTF-8 with its mark")
        << QByteArray("\xEF\xBB\xBF") + cafe.toUtf8() << QByteArray("UTF-8") << cafe;
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QTest::newRow("UTF-16 with its mark") << QByteArray(utf16.encode(cafe)) << QByteArray("UTF-8") << cafe;
    QTest::newRow("Latin-1 in a Latin-1 locale") << cafe.toLatin1() << QByteArray("ISO-8859-1") << cafe;
    QTest::newRow("Latin-1 in a UTF-8 locale")
        << cafe.toLatin1() << QByteArray("UTF-8") << u"error:The file is not text in UTF-8"_s;
    QTest::newRow("0 bytes") << QByteArray() << QByteArray("UTF-8") << u"error:The file is empty"_s;
    QTest::newRow("binary") << QByteArray("PNG\0\0\0", 6) << QByteArray("UTF-8")
                            << u"error:The file is not a text file"_s;
}

void TestExchangeFormats::textEncodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, fallback);
    QFETCH(QString, text);
    const auto decoded = decodeText(bytes, fallback);
    if (text.startsWith(u"error:"_s)) {
        QVERIFY(!decoded);
        QVERIFY2(decoded.error().text().startsWith(text.mid(6)), qPrintable(decoded.error().text()));
    } else {
        VERIFY_OK(decoded);
        QCOMPARE(*decoded, text);
    }
}

void TestExchangeFormats::columnsGuessedFromNames()
{
    const QStringList header{u"Book Title"_s,
                             u"SURNAME"_s,
                             u"first-name"_s,
                             u"Number of Pages"_s,
                             u"Price"_s,
                             u"Tags"_s,
                             u"Read?"_s,
                             u"Notes"_s,
                             u"ISBN"_s,
                             u"Title"_s,
                             u"Original Publication Year"_s};
    const QList<Column> expected{Column::Title,        Column::LastName, Column::FirstName,
                                 Column::Pages,        Column::Cost,     Column::Categories,
                                 Column::HaveRead,     Column::Comments, Column::Ignore,
                                 Column::Ignore, // a second title column is not taken
                                 Column::YearPublished};
    QCOMPARE(guessMapping(header), expected);
}

void TestExchangeFormats::sampleFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("books");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("Goodreads")
        << u"goodreads-library-export.csv"_s << fileKindName(FileKind::Goodreads)
        << QStringList{u"The Left Hand of Darkness | Le Guin, Ursula K. | year 2000 | pages 304 | cost - | "
                       u"3/14/2019 | "
                       u"rating 10 | read 1 | to read 0 | own 1 | [science-fiction|favorites] | Cold planet, "
                       u"warm "
                       u"book.\nRead it twice."_s,
                       u"Anna Karenina | Tolstoy, Leo | year 1877 | pages 864 | cost - | // | rating 0 | "
                       u"read 0 | "
                       u"to read 1 | own 0 | [] | "_s,
                       u"Middlemarch | Eliot, George | year 2003 | pages 880 | cost - | 7/4/2021 | rating 6 "
                       u"| read 0 "
                       u"| to read 0 | own 0 | [currently-reading|classics] | "_s,
                       u"Gödel, Escher, Bach | Hofstadter, Douglas R. | year 1999 | pages 777 | cost - | "
                       u"10/30/2015 "
                       u"| rating 4 | read 1 | to read 0 | own 1 | [] | A \"braid\", with commas; and semicolons."_s,
                       u"Untitled Draft | Known, Nobody | year - | pages - | cost - | // | rating 0 | read 1 "
                       u"| to "
                       u"read 0 | own 0 | [] | "_s}
        << QStringList{u"Line 6: the rating \"7\" is not 0 to 5 stars; the book is stored without one."_s,
                       u"Line 6: the year published \"circa 1900\" is not a number; it is stored empty."_s,
                       u"Line 6: the number of pages \"many\" is not a number; it is stored empty."_s};
    QTest::newRow("calibre")
        << u"calibre-catalog.csv"_s << fileKindName(FileKind::Calibre)
        << QStringList{u"The Hobbit | Tolkien, J. R. R. | year 1937 | pages - | cost - | // | rating 10 | "
                       u"read "
                       u"0 | to read 0 | own 0 | [Fantasy|Classics] | There and back again.\nA "
                       u"\"children's\" "
                       u"classic, with commas."_s,
                       u"Émile, ou De l'éducation | Rousseau, Jean-Jacques | year 1762 | pages - | cost - | "
                       u"// | "
                       u"rating 7 | read 0 | to read 0 | own 0 | [Philosophy] | "_s,
                       u"A Book Without Much | ,  | year - | pages - | cost - | // | rating 0 | read 0 | to "
                       u"read "
                       u"0 | own 0 | [] | "_s,
                       u"Long Tags | Guin, Ursula K. Le | year - | pages - | cost - | // | rating 2 | read 0 "
                       u"| "
                       u"to read 0 | own 0 | [Science Fiction] | "_s}
        << QStringList{u"Line 7: the category \"A category name that is far longer than fifty characters in "
                       u"all\" has more than 50 characters; it is left out."_s};
    QTest::newRow("Tellico")
        << u"tellico-books.tc"_s << fileKindName(FileKind::Tellico)
        << QStringList{u"The Hobbit | Tolkien, J. R. R. | year 1937 | pages 310 | cost 125000 | // | rating "
                       u"10 | "
                       u"read 1 | to read 0 | own 1 | [Fantasy|Classics] | There and back again; a "
                       u"\"children's\" classic."_s,
                       u"Émile, ou De l'éducation | Rousseau, Jean-Jacques | year 1762 | pages - | cost - | "
                       u"// | "
                       u"rating 6 | read 0 | to read 0 | own 0 | [Philosophy|Fantasy] | "_s,
                       u"A Wizard of Earthsea | Le Guin, Ursula K. | year - | pages - | cost - | // | rating "
                       u"0 | "
                       u"read 0 | to read 0 | own 0 | [] | "_s}
        << QStringList{u"Line 98: the number of pages \"about 200\" is not a number; it is stored empty."_s,
                       u"Line 116: there is no title; the row is left out."_s};
}

void TestExchangeFormats::sampleFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QFETCH(QStringList, books);
    QFETCH(QStringList, problems);
    const auto source = readImportFile(fixture(file));
    VERIFY_OK(source);
    const ImportPlan plan = planImport(*source);
    QCOMPARE(fileKindName(plan.kind), kind);
    QStringList got;
    for (const shelvio::Book& book : plan.books)
        got << describe(book);
    QCOMPARE(got, books);
    QCOMPARE(problemLines(plan), problems);
}

void TestExchangeFormats::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    const QByteArray tellico = testing::fileBytes(fixture(u"tellico-books.tc"_s));
    QByteArray corrupted = tellico;
    corrupted[60] = char(corrupted[60] ^ 0x55); // inside the compressed XML
    QTest::newRow("0 bytes") << QByteArray() << u"empty.csv"_s << u"The file is empty (0 bytes)."_s;
    QTest::newRow("not text") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << u"cover.csv"_s
                              << u"The file is not a text file"_s;
    QTest::newRow("wrong encoding") << QByteArray("Title,Author\nCaf\xe9,Zola\n") << u"latin1.csv"_s
                                    << u"The file is not text in UTF-8, nor in this system's encoding"_s;
    QTest::newRow("no header") << QByteArray("Just some words\nand more\n") << u"notes.txt"_s
                               << u"The file is not a CSV or tab-separated table"_s;
    QTest::newRow("unclosed quote") << QByteArray("Title,Author\nA,B\n\"Open,C\nD,E\n") << u"open.csv"_s
                                    << u"Line 3: a field opens with a double quote that is never closed."_s;
    QTest::newRow("damaged zip: cut short") << tellico.left(tellico.size() / 2) << u"cut.tc"_s
                                            << u"The file is not a readable Tellico collection"_s;
    QTest::newRow("damaged zip: bytes changed")
        << corrupted << u"changed.tc"_s << u"The file is not a readable Tellico collection"_s;
    QTest::newRow(".tc that is no zip")
        << QByteArray("Title,Author\n") << u"odd.tc"_s << u"The file is not a readable Tellico collection"_s;
    QTest::newRow("XML that is not a collection")
        << QByteArray("<?xml version=\"1.0\"?>\n<html><body/></html>\n") << u"page.xml"_s
        << u"The file is XML but not a Tellico collection."_s;
    QTest::newRow("XML that is broken")
        << QByteArray("<?xml version=\"1.0\"?>\n<tellico><collection type=\"2\"><entry>\n") << u"cut.xml"_s
        << u"The Tellico collection cannot be read"_s;
    QTest::newRow("a collection of videos")
        << QByteArray("<?xml version=\"1.0\"?>\n<tellico><collection type=\"3\"/></tellico>\n")
        << u"films.tc"_s << u"The Tellico file holds a collection of another kind, not of books."_s;
}

void TestExchangeFormats::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, error);
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    testing::writeFile(path, bytes);
    const auto source = readImportFile(path, "UTF-8");
    QVERIFY(!source);
    QVERIFY2(source.error().text().startsWith(error), qPrintable(source.error().text()));
}

QTEST_GUILESS_MAIN(TestExchangeFormats)
#include "tst_exchangeformats.moc"
