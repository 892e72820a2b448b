// Benchmark of the editor at scale: builds a catalogue of N books in a
// temporary folder and prints how long start-up, each tree ordering, a save
// and a delete take through the real window, and the process's peak memory;
// then what finding books costs: building the search index once, the file's
// size with and without it, and the time from a word typed in the find bar
// to its list of books on screen. Run once per size; peak memory only grows
// within a process.
//
//   bench_editor 100000
#include "catalogue.h"
#include "frmbooklist.h"
#include "prompter.h"
#include "seeding.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

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

// The median of 21 saves of one book through the store, each under a new
// title and with three categories, so that the search index changes too.
double medianSaveMs(shelvio::Catalogue& catalogue)
{
    shelvio::Result<shelvio::Book> loaded = catalogue.loadBook(1);
    if (!loaded)
        return -1;
    shelvio::Book book = loaded.take();
    book.categories = {QStringLiteral("Category 1"), QStringLiteral("Category 2"),
                       QStringLiteral("Category 3")};
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        book.title = QStringLiteral("Saved Again %1").arg(i);
        times.push_back(timed([&] { (void)catalogue.saveBook(book); }));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// From a word put into the find bar to its list of books on screen, in the
// title ordering: a word of many titles, an author's name, a rare word, a
// word of every book's category, and a first letter; then each key of a
// word typed one by one, and a save while the bar shows its books.
void measureFind(QWidget& window)
{
    const double openMs = timed([&] { window.findChild<QAction*>(QStringLiteral("mnuFind"))->trigger(); });
    std::printf("open the find bar (reads the tree's order once after each change of the tree): %.0f ms\n",
                openMs);
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("txtFind"));
    auto* count = window.findChild<QLabel*>(QStringLiteral("lblFindCount"));
    for (const char* word : {"harbour", "bronte", "garden voyage 1234", "category", "s"}) {
        box->clear();
        QCoreApplication::processEvents();
        const double ms = timed([&] { box->setText(QString::fromUtf8(word)); });
        std::printf("find \"%s\": %.0f ms (%s)\n", word, ms, qPrintable(count->text()));
    }
    box->clear();
    QStringList keys;
    QString typed;
    for (QChar c : QStringLiteral("winter")) {
        typed += c;
        keys << QStringLiteral("%1 ms").arg(timed([&] { box->setText(typed); }), 0, 'f', 0);
    }
    std::printf("find typed key by key \"winter\": %s (%s)\n", qPrintable(keys.join(QStringLiteral(", "))),
                qPrintable(count->text()));
    const double saveMs = timed([&] {
        window.findChild<QLineEdit*>(QStringLiteral("txtTitle"))->setText(QStringLiteral("Winter Harbour"));
        window.findChild<QAbstractButton*>(QStringLiteral("Command1"))->click();
    });
    std::printf("save with the find bar open and its list read again: %.0f ms (%s)\n", saveMs,
                qPrintable(count->text()));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 books = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10000;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shelvio.mdb"));
    // The seeder makes the file without the search index, as an older
    // catalogue is: the first open builds it.
    shelvio::Status filled;
    const double fillMs = timed([&] { filled = fill(path, books); });
    if (failed(filled, "filling the catalogue"))
        return 1;
    const qint64 bytesWithoutIndex = QFileInfo(path).size();

    double readTitlesMs = 0;
    double readAuthorsMs = 0;
    double indexMs = 0;
    double saveMs = 0;
    {
        shelvio::Catalogue catalogue;
        indexMs = timed([&] { catalogue.open(path); });
        shelvio::Status byTitle, byAuthor;
        readTitlesMs = timed([&] { byTitle = catalogue.forEachBookByTitle([](qint64, const QString&) {}); });
        readAuthorsMs = timed([&] {
            byAuthor =
                catalogue.forEachBookByAuthor([](qint64, const QString&, const QString&, const QString&) {});
        });
        if (failed(byTitle, "reading by title") || failed(byAuthor, "reading by author"))
            return 1;
        saveMs = medianSaveMs(catalogue);
    }
    std::printf("store alone: titles %.0f ms, authors %.0f ms, save a book with a new title and its links "
                "(index kept current) %.1f ms\n",
                readTitlesMs, readAuthorsMs, saveMs);
    std::printf("search index: built in %.0f ms on the first open; file %.1f MB without it, %.1f MB with it "
                "(%.2fx)\n",
                indexMs, double(bytesWithoutIndex) / 1e6, double(QFileInfo(path).size()) / 1e6,
                double(QFileInfo(path).size()) / double(bytesWithoutIndex));
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
    const double windowSaveMs = timed([&] {
        window.findChild<QLineEdit*>(QStringLiteral("txtTitle"))->setText(QStringLiteral("A New Book"));
        window.findChild<QLineEdit*>(QStringLiteral("txtAuthor"))->setText(QStringLiteral("Austen1"));
        click("Command1");
    });
    const double categoryMs = timed([&] { click("optSortCategory"); });
    const double titleMs = timed([&] { click("optSortByTitle"); });
    std::printf(
        "%9lld books: fill %8.0f ms | start-up (title tree) %7.0f ms | author tree %7.0f ms | "
        "category tree %7.0f ms | title tree %7.0f ms | save in author order %6.1f ms | peak %5ld MB\n",
        static_cast<long long>(books), fillMs, startMs, authorMs, categoryMs, titleMs, windowSaveMs,
        peakMegabytes());
    measureFind(window);
    return 0;
}
