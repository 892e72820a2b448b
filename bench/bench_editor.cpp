// Benchmark of the editor at scale: builds a catalogue of N books in a
// temporary folder and prints how long start-up, each tree ordering, a save
// and a delete take through the real window, and the process's peak memory.
// Run once per size; peak memory only grows within a process.
//
//   bench_editor 100000
#include "catalogue.h"
#include "frmbooklist.h"
#include "prompter.h"
#include "seeding.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

shelvio::Status fill(const QString& path, qint64 books)
{
    shelvio::CatalogueSeeder seeder(path);
    QList<qint64> categories;
    for (int c = 0; c < 40; ++c)
        categories << seeder.addCategory(QStringLiteral("Category %1").arg(c)).value_or(0);
    for (qint64 i = 1; i <= books; ++i) {
        shelvio::Book book;
        book.id = i;
        book.title = title(i);
        book.author = QString::fromUtf8(surnames[i % 16]) + QString::number(i % 997);
        book.firstName = QStringLiteral("First%1").arg(i % 7);
        book.rating = i % 11;
        book.dateRead = QStringLiteral("//");
        book.ownBook = true;
        // One or two categories a book: about 1.5 links a book.
        QList<qint64> links;
        for (qint64 c = 0; c < 1 + (i % 2); ++c)
            links << categories.at((i + c * 7) % 40);
        if (!seeder.addBook(book, links))
            break; // status() says why
    }
    return seeder.commit();
}

// Says on stderr what failed: a time measured over a failure means nothing.
bool failed(const shelvio::Status& status, const char* what)
{
    if (!status)
        std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(status.error().text()));
    return !status;
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
    shelvio::Status filled;
    const double fillMs = timed([&] { filled = fill(path, books); });
    if (failed(filled, "filling the catalogue"))
        return 1;

    double readTitlesMs = 0;
    double readAuthorsMs = 0;
    {
        shelvio::Catalogue catalogue;
        catalogue.open(path);
        shelvio::Status byTitle, byAuthor;
        readTitlesMs = timed([&] {
            byTitle = catalogue.booksByTitle().ok() ? shelvio::Status() : shelvio::Error::failed(QString());
        });
        readAuthorsMs = timed([&] {
            byAuthor = catalogue.booksByAuthor().ok() ? shelvio::Status() : shelvio::Error::failed(QString());
        });
        if (failed(byTitle, "reading by title") || failed(byAuthor, "reading by author"))
            return 1;
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
