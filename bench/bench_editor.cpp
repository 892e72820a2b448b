// Benchmark of the editor at scale: start-up, each tree ordering, a save and
// a delete in each, through the real window, and the process's peak memory;
// beside each figure the machine's limit measured in the same run: SQLite
// reading the same rows in order over indexes made for it, a bare save, and
// a minimal tree model in a plain tree view. Then what finding books costs:
// building the search index once, the file's size with and without it, a
// save with the index kept current, and the time from a word typed in the
// find bar to its list of books on screen. Run once per size; peak memory
// only grows within a process.
//
//   bench_editor 1000000 [--catalogue /tmp/bench-1m.mdb]
//
// With --catalogue the filled catalogue is kept there and used again by the
// next run of the same size.
#include "benchprobe.h"
#include "booktreeview.h"
#include "catalogue.h"
#include "frmbooklist.h"
#include "minimalmodel.h"
#include "prompter.h"
#include "seeding.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace shelvio;

namespace {

// Answers every question with Yes and prints nothing.
class SilentPrompter : public Prompter {
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

// Books with about 1.5 categories each, 112,000 authors at a million.
Status fill(const QString& path, qint64 books)
{
    CatalogueSeeder seeder(path);
    QList<qint64> categories;
    for (int c = 0; c < 40; ++c)
        categories << seeder.addCategory(QStringLiteral("Category %1").arg(c)).value_or(0);
    for (qint64 i = 1; i <= books; ++i) {
        Book book;
        book.id = i;
        book.title = title(i);
        book.author = QString::fromUtf8(surnames[i % 16]) + QString::number(i % 997);
        book.firstName = QStringLiteral("First%1").arg(i % 7);
        book.rating = i % 11;
        book.dateRead = QStringLiteral("//");
        book.ownBook = true;
        QList<qint64> links;
        for (qint64 c = 0; c < 1 + (i % 2); ++c)
            links << categories.at((i + c * 7) % 40);
        if (!seeder.addBook(book, links))
            break; // commit() says why
    }
    return seeder.commit();
}

// The process's peak resident memory. Not getrusage(): Linux carries its
// figure over from the parent into a child process.
long peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong() / 1024;
    }
    return -1;
}

// Milliseconds of the work and of the events it left for the window.
double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Stops the benchmark with what failed: a time measured over a failure
// means nothing.
template <class T> T orStop(Result<T> result, const char* what)
{
    if (!result) {
        std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(result.error().text()));
        std::exit(1);
    }
    return *std::move(result);
}
void orStop(const Status& status, const char* what)
{
    if (!status) {
        std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(status.error().text()));
        std::exit(1);
    }
}

void printRow(const char* figure, double ms, double limitMs, const char* limit)
{
    std::printf("  %-44s %9.1f ms %9.1f ms   %s\n", figure, ms, limitMs, limit);
}

// The editor's figures, through its window.
struct EditorFigures {
    double startUp = 0, byAuthor = 0, byCategory = 0, byTitleAgain = 0;
    double saveByTitle = 0, deleteByTitle = 0, saveByAuthor = 0, deleteByAuthor = 0;
    double saveByCategory = 0, deleteByCategory = 0;
    long peakMegabytes = 0;
};

class EditorRun {
public:
    explicit EditorRun(const QString& folder)
        : m_window(locateCatalogue(folder), folder, m_prompter)
    {
    }

    EditorFigures measure()
    {
        EditorFigures f;
        f.startUp = timed([&] {
            orStop(Status(m_window.load() ? Status() : Error::failed(QStringLiteral("start-up"))),
                   "start-up");
            m_window.show();
        });
        f.byAuthor = timed([&] { click("optSortAuthor"); });
        f.saveByAuthor = saveNewBook();
        f.deleteByAuthor = deleteBook(lastGroupsFirstChild());
        f.byCategory = timed([&] { click("optSortCategory"); });
        const QString firstInCategory = tree().childKeys(tree().keyAt(tree().index(0, 0))).first();
        f.saveByCategory = saveStoredBook(firstInCategory);
        f.deleteByCategory = deleteBook(tree().childKeys(tree().keyAt(tree().index(0, 0))).first());
        f.byTitleAgain = timed([&] { click("optSortByTitle"); });
        f.saveByTitle = saveNewBook();
        f.deleteByTitle = deleteBook(tree().keyAt(tree().index(tree().rowCount() - 1, 0)));
        f.peakMegabytes = peakMegabytes();
        return f;
    }

    QWidget& window() { return m_window; }

private:
    BookTreeModel& tree() { return m_window.findChild<BookTreeView*>(QStringLiteral("TreeView1"))->nodes(); }
    void click(const char* name) { m_window.findChild<QAbstractButton*>(QString::fromLatin1(name))->click(); }
    void type(const char* name, const QString& text)
    {
        m_window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
    }
    QString lastGroupsFirstChild()
    {
        const QModelIndex group = tree().index(tree().rowCount() - 1, 0);
        return tree().keyAt(tree().index(0, 0, group));
    }
    void open(const QString& key)
    {
        auto* view = m_window.findChild<BookTreeView*>(QStringLiteral("TreeView1"));
        emit view->nodeDoubleClicked(key);
        QCoreApplication::processEvents();
    }
    // A new book by a new author: a new node at the end, under a new group.
    double saveNewBook()
    {
        click("Command4");
        type("txtTitle", QStringLiteral("A New Book"));
        type("txtAuthor", QStringLiteral("Newcomer"));
        return timed([&] { click("Command1"); });
    }
    double saveStoredBook(const QString& key)
    {
        open(key);
        type("txtTitle", QStringLiteral("Renamed"));
        return timed([&] { click("Command1"); });
    }
    double deleteBook(const QString& key)
    {
        open(key);
        return timed([&] { click("Command3"); });
    }

    SilentPrompter m_prompter;
    frmBookList m_window;
};

// The minimal model over the rows, shown in a plain tree view; the view
// stays for what is measured next.
double showMinimal(ProbeRows rows, std::unique_ptr<MinimalModel>* model, QTreeView* view)
{
    return timed([&] {
        auto shown = std::make_unique<MinimalModel>(std::move(rows));
        view->setModel(shown.get());
        view->show();
        *model = std::move(shown);
    });
}

struct Limit {
    double read = 0;
    double shown = 0;
    double total() const { return read + shown; }
};

Limit readAndShow(const std::function<Result<ProbeRows>()>& read, const char* what, QTreeView* view,
                  std::unique_ptr<MinimalModel>* model)
{
    Limit limit;
    ProbeRows rows;
    limit.read = timed([&] { rows = orStop(read(), what); });
    view->setModel(nullptr);
    model->reset();
    limit.shown = showMinimal(std::move(rows), model, view);
    return limit;
}

QTreeView* plainView()
{
    auto* view = new QTreeView;
    view->setUniformRowHeights(true);
    view->setHeaderHidden(true);
    view->resize(400, 800);
    return view;
}

// The child process's part: the category rows in a minimal model, shown, and
// the peak memory that took.
int minimalModelMemory(const QString& path)
{
    BenchProbe probe(path);
    orStop(probe.status(), "the probe");
    std::unique_ptr<QTreeView> view(plainView());
    std::unique_ptr<MinimalModel> model;
    showMinimal(orStop(probe.readCategories(), "reading categories"), &model, view.get());
    std::printf("%ld\n", peakMegabytes());
    return 0;
}

// The median of 21 saves of one book through the store, each under a new
// title and with three categories, so that the search index changes too.
double medianSaveMs(Catalogue& catalogue)
{
    Result<Book> loaded = catalogue.loadBook(1);
    if (!loaded)
        return -1;
    Book book = loaded.take();
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
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("books"), QStringLiteral("Number of books"));
    const QCommandLineOption keep(QStringLiteral("catalogue"), QStringLiteral("Keep the catalogue here"),
                                  QStringLiteral("path"));
    const QCommandLineOption minimal(QStringLiteral("minimal-model"),
                                     QStringLiteral("Only the minimal model's memory"));
    parser.addOptions({keep, minimal});
    parser.process(app);
    const qint64 books = parser.positionalArguments().value(0, QStringLiteral("10000")).toLongLong();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Shelvio.mdb"));
    const QString kept = parser.value(keep);
    if (parser.isSet(minimal))
        return minimalModelMemory(kept.isEmpty() ? path : kept);

    double fillMs = 0;
    bool reused = false;
    if (!kept.isEmpty() && QFile::exists(kept)) {
        Catalogue existing;
        existing.open(kept);
        reused = existing.bookCount().value_or(-1) == books;
    }
    if (reused) {
        QFile::copy(kept, path);
    } else {
        fillMs = timed([&] { orStop(fill(path, books), "filling the catalogue"); });
        if (!kept.isEmpty()) {
            QFile::remove(kept);
            QFile::copy(path, kept);
        }
    }

    // The seeder makes the file without the search index, as an older
    // catalogue is: the first open builds it.
    const qint64 bytesWithoutIndex = QFileInfo(path).size();
    double indexMs = 0;
    double indexedSaveMs = 0;
    {
        Catalogue catalogue;
        indexMs = timed([&] { catalogue.open(path); });
        indexedSaveMs = medianSaveMs(catalogue);
    }
    const qint64 bytesWithIndex = QFileInfo(path).size();

    EditorRun run(folder.path());
    const EditorFigures editor = run.measure();

    // The store alone, and SQLite alone.
    double storeTitles = 0, storeAuthors = 0, storeCategories = 0;
    {
        Catalogue catalogue;
        catalogue.open(path);
        storeTitles = timed([&] { orStop(catalogue.booksByTitle(), "reading by title"); });
        storeAuthors = timed([&] { orStop(catalogue.booksByAuthor(), "reading by author"); });
        storeCategories = timed([&] { orStop(catalogue.booksByCategory(), "reading by category"); });
    }
    BenchProbe probe(path);
    orStop(probe.status(), "the probe");
    std::unique_ptr<QTreeView> view(plainView());
    std::unique_ptr<MinimalModel> model;
    const Limit titles =
        readAndShow([&] { return probe.readTitles(); }, "reading titles", view.get(), &model);
    const double addRoot = timed([&] { model->appendRoot(QStringLiteral("A New Book")); });
    const double removeRoot = timed([&] { model->removeRoot(0); });
    const Limit authors =
        readAndShow([&] { return probe.readAuthors(); }, "reading authors", view.get(), &model);
    const Limit categories =
        readAndShow([&] { return probe.readCategories(); }, "reading categories", view.get(), &model);
    const double bareSave =
        timed([&] { orStop(probe.saveBookWithLinks(1, QStringLiteral("Probe")), "a bare save"); });
    view.reset();
    model.reset();

    QProcess child;
    child.start(
        QCoreApplication::applicationFilePath(),
        {QString::number(books), QStringLiteral("--minimal-model"), QStringLiteral("--catalogue"), path});
    child.waitForFinished(-1);
    const long minimalPeak = child.readAllStandardOutput().trimmed().toLong();

    std::printf("%lld books%s (%s)\n", static_cast<long long>(books),
                reused ? ", catalogue used again"
                       : qPrintable(QStringLiteral(", filled in %1 ms").arg(fillMs, 0, 'f', 0)),
                "program | limit measured in this run | what the limit is");
    printRow("start-up to the title tree shown", editor.startUp, titles.total(),
             qPrintable(QStringLiteral("SQLite title read over an index %1 ms + minimal model shown %2 ms")
                            .arg(titles.read, 0, 'f', 0)
                            .arg(titles.shown, 0, 'f', 0)));
    printRow(
        "author ordering", editor.byAuthor, authors.total(),
        qPrintable(QStringLiteral("SQLite author read over (Author, GA1, GA2) %1 ms + minimal model %2 ms")
                       .arg(authors.read, 0, 'f', 0)
                       .arg(authors.shown, 0, 'f', 0)));
    printRow(
        "category ordering", editor.byCategory, categories.total(),
        qPrintable(QStringLiteral("SQLite category join ordered by name, GA2 %1 ms + minimal model %2 ms")
                       .arg(categories.read, 0, 'f', 0)
                       .arg(categories.shown, 0, 'f', 0)));
    printRow("title ordering again", editor.byTitleAgain, titles.total(), "as start-up");
    const QString rootRowLimit =
        QStringLiteral("bare save with 3 links %1 ms + minimal model: a root row added %2 ms")
            .arg(bareSave, 0, 'f', 1)
            .arg(addRoot, 0, 'f', 1);
    const QString rootRemoveLimit =
        QStringLiteral("bare save %1 ms + minimal model: a root row removed %2 ms")
            .arg(bareSave, 0, 'f', 1)
            .arg(removeRoot, 0, 'f', 1);
    printRow("save in title ordering (new book)", editor.saveByTitle, bareSave + addRoot,
             qPrintable(rootRowLimit));
    printRow("delete in title ordering", editor.deleteByTitle, bareSave + removeRoot,
             qPrintable(rootRemoveLimit));
    printRow("save in author ordering (new book, new author)", editor.saveByAuthor, bareSave + addRoot,
             qPrintable(rootRowLimit));
    printRow("delete in author ordering", editor.deleteByAuthor, bareSave + removeRoot,
             qPrintable(rootRemoveLimit));
    printRow("save in category ordering (rebuilt)", editor.saveByCategory, bareSave + categories.total(),
             "bare save + the category limit");
    printRow("delete in category ordering (rebuilt)", editor.deleteByCategory, bareSave + categories.total(),
             "bare save + the category limit");
    printRow("rows in order, store alone: title", storeTitles, titles.read,
             "SQLite title read over an index");
    printRow("rows in order, store alone: author", storeAuthors, authors.read,
             "SQLite author read over an index");
    printRow("rows in order, store alone: category", storeCategories, categories.read,
             "SQLite category join");
    std::printf("  %-44s %9ld MB %9ld MB   %s\n", "peak memory, category tree shown", editor.peakMegabytes,
                minimalPeak, "minimal model of the category rows shown, in a process of its own");
    std::printf("search index: built in %.0f ms on the first open; file %.1f MB without it, %.1f MB with it "
                "(%.2fx); a save of a book with a new title and its links, index kept current: %.1f ms "
                "(median of 21)\n",
                indexMs, double(bytesWithoutIndex) / 1e6, double(bytesWithIndex) / 1e6,
                double(bytesWithIndex) / double(bytesWithoutIndex), indexedSaveMs);
    measureFind(run.window());
    return 0;
}
