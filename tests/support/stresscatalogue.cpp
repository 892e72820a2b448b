#include "stresscatalogue.h"

#include "seeding.h"
#include "testcatalogue.h"

#include <QStringList>

#include <random>

using namespace Qt::StringLiterals;

namespace testing {

namespace {

// Words that fold together, or almost: case, accents, ß and ss, ligatures,
// full-width and mathematical letters, dotted and dotless i, a private-use
// letter (above the surrogates in UTF-16, below them in UTF-8), and blanks.
const QStringList titleWords{
    u"apple"_s,      u"Apple"_s,  u"APPLE"_s,     u"Äpple"_s, u"apple "_s,   u" apple"_s,   u"émile"_s,
    u"Emile"_s,      u"Émile"_s,  u"EMILE"_s,     u"zoë"_s,   u"Zoe"_s,      u"Straße"_s,   u"strasse"_s,
    u"ß"_s,          u"ss"_s,     u"ﬁne"_s,       u"fine"_s,  u"𝔸lpha"_s,    u"alpha"_s,    u"ｆull"_s,
    u"full"_s,       u"日本"_s,   u"Ωmega"_s,     u"ωmega"_s, u"İstanbul"_s, u"istanbul"_s, u"ıstanbul"_s,
    u"\uE000mark"_s, u"😀smile"_s, u"O'Brien's"_s, u"Ǆemal"_s, u"ǅemal"_s,    u"tab\tin"_s,  u"\u00A0nbsp"_s,
    u"zebra"_s,      u"Zebra"_s,  u"10"_s,        u"9"_s,     u"-"_s,        u"a"_s,        u"b"_s,
};

// Articles the sort title moves, and some it does not.
const QStringList titleStarts{u""_s, u""_s, u""_s, u"The "_s, u"A "_s, u"an "_s, u"the "_s, u"THE "_s};

const QStringList lastNames{
    u""_s,       u"  "_s,    u"Smith"_s, u"smith"_s, u"SMITH"_s,   u" Smith"_s,
    u"Smith "_s, u"Émile"_s, u"Emile"_s, u"émile"_s, u"O'Brien"_s, u"Ölund"_s,
    u"Olund"_s,  u"Zola"_s,  u"zola"_s,  u"ß"_s,     u"ss"_s,
};
const QStringList firstNames{u""_s,      u" "_s,     u"John"_s,         u"john"_s, u" John"_s,
                             u"Élise"_s, u"Elise"_s, u"Jean-Jacques"_s, u"ｊohn"_s};

const QStringList categoryNames{u"Fiction"_s, u"fiction"_s, u"Fiction"_s, u"Émigré"_s, u"emigre"_s,
                                u"Emigré"_s,  u" art"_s,    u"art "_s,    u"Art"_s,    u"Zoo"_s,
                                u""_s,        u"ﬁne"_s,     u"𝔸lpha"_s,   u"ß"_s,      u"ss"_s};

const QStringList readDates{u"//"_s,       u"3/14/2001"_s, u"12/1/1999"_s, u"2/30/2000"_s,
                            u"sometime"_s, u"1/5/2001"_s,  u""_s,          u"7/4/2010"_s};

} // namespace

void fillStressCatalogue(TestCatalogue& file, int books)
{
    std::minstd_rand random(19);
    const auto pick = [&random](const QStringList& list) {
        return list.at(qsizetype(random() % quint32(list.size())));
    };
    QList<qint64> categories;
    {
        shelvio::CatalogueSeeder seeder(file.path());
        for (const QString& name : categoryNames)
            categories << seeder.addCategory(name).value_or(0);
        for (int i = 0; i < books; ++i) {
            shelvio::Book book;
            // Few distinct titles, so that many are equal.
            book.title = pick(titleStarts) + pick(titleWords);
            if (random() % 2)
                book.title += u' ' + pick(titleWords);
            book.author = pick(lastNames);
            book.firstName = pick(firstNames);
            if (i % 97 == 0) // an author with this one book
                book.author = u"Solo %1"_s.arg(i);
            book.dateRead = pick(readDates);
            book.rating = qint64(random() % 12);
            book.yearPublished = 1900 + qint64(random() % 120);
            book.readBook = random() % 2;
            book.wantToRead = random() % 3 == 0;
            book.wantToBuy = random() % 4 == 0;
            book.ownBook = random() % 2;
            QList<qint64> links;
            for (qint64 category : categories) {
                if (random() % 9 == 0)
                    links << category;
            }
            if (!seeder.addBook(book, links))
                break; // commit() says why
        }
        if (const auto committed = seeder.commit(); !committed)
            qFatal("cannot fill the stress catalogue: %s", qPrintable(committed.error().text()));
    }
    // Rows the editor would never write.
    for (const char* statement : {
             "UPDATE Books SET Author = NULL WHERE BookID % 37 = 0",
             "UPDATE Books SET GA1 = NULL WHERE BookID % 41 = 0",
             "UPDATE Books SET GA2 = NULL WHERE BookID % 43 = 0",
             "UPDATE Books SET GA2 = '' WHERE BookID % 47 = 0",
             "UPDATE Books SET GA2 = 42 WHERE BookID % 53 = 0",
             "UPDATE Books SET GA2 = '   ' WHERE BookID % 59 = 0",
             "UPDATE Books SET Title = NULL WHERE BookID % 61 = 0",
             "UPDATE Books SET ReadBook = NULL, Rating = NULL, DateRead = NULL WHERE BookID % 67 = 0",
             "INSERT INTO Category (CategoryName) VALUES (NULL)",
             "INSERT INTO BookCategoryLink SELECT BookID, (SELECT max(CategoryID) FROM Category) "
             "FROM Books WHERE BookID % 71 = 0",
             "INSERT INTO BookCategoryLink VALUES (999999, 1)",
             "INSERT INTO BookCategoryLink VALUES (1, 999999)",
         })
        file.exec(QString::fromLatin1(statement));
}

} // namespace testing
