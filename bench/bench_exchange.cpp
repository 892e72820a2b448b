// Benchmark of bringing books in and taking them out: exports a catalogue
// of N books to our CSV file, then reads that file (the first 100,000 rows
// of it) and imports it into a catalogue of its own, and prints how long
// each step takes, how often the import told its progress and the longest
// wait between two of those calls (what the progress dialog shows), and the
// process's peak memory.
//
//   bench_exchange            100,000 books
//   bench_exchange --million  1,000,000 books (the import still takes 100,000)
#include "bookcsv.h"
#include "catalogue.h"
#include "importfile.h"
#include "seeding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace shelvio;

namespace {

constexpr qint64 importedRows = 100000;

Status fill(const QString& path, qint64 books)
{
    CatalogueSeeder seeder(path);
    QList<qint64> categories;
    for (int c = 0; c < 40; ++c)
        categories << seeder.addCategory(QStringLiteral("Category %1").arg(c)).value_or(0);
    for (qint64 i = 1; i <= books; ++i) {
        Book book;
        book.title = (i % 5 == 0 ? QStringLiteral("The Book, \"No.\" %1") : QStringLiteral("Book %1")).arg(i);
        book.author = QStringLiteral("Writer%1").arg(i % 997);
        book.firstName = QStringLiteral("Émile");
        book.yearPublished = 1900 + i % 120;
        book.pages = 100 + i % 700;
        book.costUnits = i * 37 % 500000;
        book.rating = i % 11;
        book.dateRead = QStringLiteral("3/14/2004");
        book.readBook = i % 2;
        book.comments = i % 3 == 0 ? QStringLiteral("First line\nsecond line, with a comma") : QString();
        QList<qint64> links;
        for (qint64 c = 0; c < 1 + (i % 2); ++c)
            links << categories.at((i + c * 7) % 40);
        if (!seeder.addBook(book, links))
            break;
    }
    return seeder.commit();
}

bool failed(const Status& status, const char* what)
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

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// The file's header and its first `rows` lines that begin a record; the
// benchmark's comments hold one line break, which never starts a record.
QByteArray firstRows(const QString& path, qint64 rows)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray kept = file.readLine();
    qint64 records = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.startsWith("Book ") || line.startsWith("\"The Book"))
            ++records;
        if (records > rows)
            break;
        kept += line;
    }
    return kept;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const bool million = argc > 1 && QByteArray(argv[1]) == "--million";
    const qint64 books = million ? 1000000 : 100000;
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("Source.mdb"));
    const QString exported = folder.filePath(QStringLiteral("books.csv"));
    QElapsedTimer timer;
    timer.start();
    if (failed(fill(source, books), "filling the catalogue"))
        return 1;
    std::printf("filled %lld books in %.1f s\n", books, seconds(timer));

    Catalogue catalogue;
    catalogue.open(source);
    timer.restart();
    const Result<qint64> written = exchange::exportBooks(catalogue, exported);
    const double exportSeconds = seconds(timer);
    if (failed(written ? Status() : Status(written.error()), "exporting"))
        return 1;
    std::printf("export: %lld books in %.2f s (%.1f MB)\n", *written, exportSeconds,
                double(QFile(exported).size()) / 1e6);

    const QString part = folder.filePath(QStringLiteral("part.csv"));
    QFile partFile(part);
    if (!partFile.open(QIODevice::WriteOnly) || partFile.write(firstRows(exported, importedRows)) < 0)
        return 1;
    partFile.close();
    const QString target = folder.filePath(QStringLiteral("Target.mdb"));
    Catalogue into;
    into.open(target);
    timer.restart();
    Result<exchange::ImportSource> file = exchange::readImportFile(part);
    if (failed(file ? Status() : Status(file.error()), "reading the file"))
        return 1;
    const double readSeconds = seconds(timer);
    exchange::ImportPlan plan = exchange::planImport(*file);
    if (failed(exchange::markBooksOnFile(&plan, into), "looking for books on file"))
        return 1;
    const double planSeconds = seconds(timer) - readSeconds;
    qint64 calls = 0;
    double longestWait = 0;
    QElapsedTimer sinceLast;
    sinceLast.start();
    const Result<ImportOutcome> outcome = into.importBooks(plan.booksToAdd(true), [&](qint64) {
        ++calls;
        longestWait = std::max(longestWait, seconds(sinceLast));
        sinceLast.restart();
        return true;
    });
    const double totalSeconds = seconds(timer);
    if (failed(outcome ? Status() : Status(outcome.error()), "importing"))
        return 1;
    std::printf("import: %lld rows (%lld books) in %.2f s: read %.2f s, plan %.2f s, write %.2f s; progress "
                "told %lld times, longest wait %.1f ms\n",
                plan.rowsRead, outcome->booksAdded, totalSeconds, readSeconds, planSeconds,
                totalSeconds - readSeconds - planSeconds, calls, longestWait * 1000);
    std::printf("peak memory %ld MB\n", peakMegabytes());
    return 0;
}
