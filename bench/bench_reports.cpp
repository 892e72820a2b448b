// Prints how long the report viewer takes over large catalogues: reading a
// report's books, laying them out and writing the pages to PDF.
#include "report.h"
#include "reportlayout.h"
#include "reportpainter.h"
#include "seeding.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace shelvio;
using namespace shelvio::reports;

namespace {

long peakMemoryKb()
{
    FILE* status = std::fopen("/proc/self/status", "r");
    long kb = -1;
    char line[256];
    while (status && std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            break;
    }
    if (status)
        std::fclose(status);
    return kb;
}

Status buildCatalogue(const QString& path, int books)
{
    CatalogueSeeder seeder(path);
    for (int i = 0; i < books; ++i) {
        Book book;
        book.title = QStringLiteral("The Book Number %1").arg(i * 7919 % books);
        book.author = QStringLiteral("Author%1").arg(i % 5000);
        book.firstName = QStringLiteral("First");
        book.yearPublished = 1900 + i % 120;
        book.pages = 100 + i % 700;
        book.rating = i % 11;
        book.dateRead = QStringLiteral("%1/%2/%3").arg(1 + i % 12).arg(1 + i % 28).arg(1990 + i % 30);
        book.readBook = i % 2;
        book.ownBook = i % 3 == 0;
        if (!seeder.addBook(book))
            break; // status() says why
    }
    return seeder.commit();
}

void measure(QTextStream& out, const QString& path, int books, const QString& definitionName)
{
    const ReportDefinition& definition = *findDefinition(definitionName);
    Report report(definition);
    QElapsedTimer clock;
    clock.start();
    if (const Status read = loadReportData(report, path); !read) {
        out << "read failed: " << read.error().text() << Qt::endl;
        return;
    }
    const qint64 readMs = clock.restart();
    const ReportDocument document = layoutReport(definition, report.books(), defaultLayoutOptions());
    const qint64 layoutMs = clock.restart();
    const QString pdf = path + QStringLiteral(".pdf");
    if (const Status written = exportPdf(document, pdf); !written) {
        out << "PDF failed: " << written.error().text() << Qt::endl;
        return;
    }
    const qint64 pdfMs = std::max<qint64>(clock.elapsed(), 1);
    const auto pages = qint64(document.pages.size());
    out << QStringLiteral("%1 books  %2  read %3 ms  layout %4 ms (%5 pages/s)  PDF %6 ms (%7 pages/s)  "
                          "%8 pages  peak %9 MB")
               .arg(books, 8)
               .arg(definitionName, -22)
               .arg(readMs, 6)
               .arg(layoutMs, 6)
               .arg(pages * 1000 / std::max<qint64>(layoutMs, 1))
               .arg(pdfMs, 7)
               .arg(pages * 1000 / pdfMs)
               .arg(pages)
               .arg(peakMemoryKb() / 1024)
        << Qt::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QList<int> sizes{10000, 100000};
    if (app.arguments().contains(QStringLiteral("--million")))
        sizes << 1000000;
    for (int books : sizes) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Shelvio.mdb"));
        if (const Status built = buildCatalogue(path, books); !built) {
            out << "cannot build the catalogue: " << built.error().text() << Qt::endl;
            return 1;
        }
        for (const char* name : {"crBooksByTitle", "crBooksByAuthor"})
            measure(out, path, books, QString::fromLatin1(name));
    }
    return 0;
}
