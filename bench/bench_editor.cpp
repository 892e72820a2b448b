// Benchmark of the editor at scale: builds a catalogue of N books in a
// temporary folder and prints how long start-up, each tree ordering, a save
// and a delete take through the real window, and the process's peak memory.
// Run once per size; peak memory only grows within a process.
//
//   bench_editor 100000
#include "connection.h"
#include "frmbooklist.h"
#include "nameforms.h"
#include "prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

// Answers every question with Yes and prints nothing.
class SilentPrompter : public shelvio::Prompter {
public:
    void inform(const QString&, const QString&) override {}
    Answer ask(const QString&, const QString&, Buttons, Answer) override { return Answer::Yes; }
    std::optional<QString> askText(const QString&, const QString&) override { return std::nullopt; }
};

const char* const words[] = {"River",   "Night",   "Garden", "Stone",  "Winter",  "Glass",
                             "Harbour", "Letters", "Shadow", "Empire", "Orchard", "Lantern",
                             "Silence", "Voyage",  "Mirror", "Crown"};
const char* const surnames[] = {"Austen", "Brontë",  "Calvino",  "Dickens", "Eliot", "Flaubert",
                                "Gogol",  "Hardy",   "Ishiguro", "Joyce",   "Kafka", "Lessing",
                                "Mann",   "Nabokov", "Orwell",   "Proust"};

QString title(qint64 i)
{
    const QString base = QString::fromLatin1(words[i % 16]) + QLatin1Char(' ') +
                         QString::fromLatin1(words[(i / 16) % 16]) + QLatin1Char(' ') + QString::number(i);
    return i % 5 == 0 ? QStringLiteral("The ") + base : base;
}

void fill(const QString& path, qint64 books)
{
    QString error;
    QSqlDatabase db = shelvio::openConnection(path, shelvio::Access::ReadWrite, &error);
    db.transaction();
    {
        QSqlQuery query(db);
        for (int c = 0; c < 40; ++c)
            query.exec(QStringLiteral("INSERT INTO Category (CategoryName) VALUES ('Category %1')").arg(c));
        query.prepare(
            QStringLiteral("INSERT INTO Books (BookID, Title, GA2, Author, GA1, Rating, DateRead, "
                           "ReadBook, OwnBook, WantToBuy, GB1) VALUES (?, ?, ?, ?, ?, ?, '//', 0, 1, 0, 0)"));
        QSqlQuery link(db);
        link.prepare(QStringLiteral("INSERT INTO BookCategoryLink (BookID, CategoryKey) VALUES (?, ?)"));
        for (qint64 i = 1; i <= books; ++i) {
            const QString t = title(i);
            query.addBindValue(i);
            query.addBindValue(t);
            query.addBindValue(shelvio::sortTitle(t));
            query.addBindValue(QString::fromUtf8(surnames[i % 16]) + QString::number(i % 997));
            query.addBindValue(QStringLiteral("First%1").arg(i % 7));
            query.addBindValue(int(i % 11));
            query.exec();
            // One or two categories a book: about 1.5 links a book.
            for (qint64 c = 0; c < 1 + (i % 2); ++c) {
                link.addBindValue(i);
                link.addBindValue(1 + (i + c * 7) % 40);
                link.exec();
            }
        }
    }
    db.commit();
    shelvio::closeConnection(db);
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

template <class F> double timed(F&& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 books = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10000;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shelvio.mdb"));
    {
        shelvio::Catalogue create;
        create.open(path);
    }
    const double fillMs = timed([&] { fill(path, books); });

    double readTitlesMs = 0;
    double readAuthorsMs = 0;
    {
        shelvio::Catalogue catalogue;
        catalogue.open(path);
        readTitlesMs = timed([&] { catalogue.forEachBookByTitle([](qint64, const QString&) {}); });
        readAuthorsMs = timed([&] {
            catalogue.forEachBookByAuthor([](qint64, const QString&, const QString&, const QString&) {});
        });
    }
    std::printf("store alone: titles %.0f ms, authors %.0f ms\n", readTitlesMs, readAuthorsMs);
    SilentPrompter prompter;
    shelvio::frmBookList window(shelvio::locateCatalogue(folder.path()), folder.path(), prompter);
    const double startMs = timed([&] {
        window.load();
        window.show();
    });
    auto click = [&](const char* name) {
        window.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    };
    const double authorMs = timed([&] { click("optSortAuthor"); });
    const double saveMs = timed([&] {
        window.findChild<QLineEdit*>(QStringLiteral("txtTitle"))->setText(QStringLiteral("A New Book"));
        window.findChild<QLineEdit*>(QStringLiteral("txtAuthor"))->setText(QStringLiteral("Austen1"));
        click("Command1");
    });
    const double categoryMs = timed([&] { click("optSortCategory"); });
    const double titleMs = timed([&] { click("optSortByTitle"); });
    std::printf(
        "%9lld books: fill %8.0f ms | start-up (title tree) %7.0f ms | author tree %7.0f ms | "
        "category tree %7.0f ms | title tree %7.0f ms | save in author order %6.1f ms | peak %5ld MB\n",
        static_cast<long long>(books), fillMs, startMs, authorMs, categoryMs, titleMs, saveMs,
        peakMegabytes());
    return 0;
}
