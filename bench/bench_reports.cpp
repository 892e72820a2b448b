// Prints how long the report viewer takes over large catalogues, each figure
// beside the limit it is held to: reading a report's books, its first page on
// screen after the button, the page count final, the pages written to PDF,
// and the peak memory of the process meanwhile. Bare SQLite reading the same
// rows shows what the read costs at the least.
#include "benchprobe.h"
#include "commandline.h"
#include "prompter.h"
#include "report.h"
#include "reportpainter.h"
#include "reportstyle.h"
#include "reportviewer.h"
#include "reportwindow.h"
#include "seeding.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <ctime>

using namespace shelvio;
using namespace shelvio::reports;

namespace {

// The highest resident size since the last reset, from /proc/self/status:
// getrusage() would also count the children of the process.
long peakMemoryMb()
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
    return kb / 1024;
}

// Starts the peak afresh at the present size (Linux 4.0 and later).
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

constexpr int categoryCount = 40;

Status buildCatalogue(const QString& path, int books)
{
    CatalogueSeeder seeder(path);
    QList<qint64> categories;
    for (int c = 0; c < categoryCount; ++c) {
        if (const auto id = seeder.addCategory(QStringLiteral("Shelf %1").arg(c)))
            categories << *id;
    }
    for (int i = 0; i < books && categories.size() == categoryCount; ++i) {
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
        if (i % 10 == 0)
            book.comments = QStringLiteral("A note on the book, long enough to take a line of its own.");
        // 1.5 categories a book.
        QList<qint64> links{categories[i % categoryCount]};
        if (i % 2 == 0)
            links << categories[(i / 2 + 7) % categoryCount];
        if (!seeder.addBook(book, links))
            break; // status() says why
    }
    return seeder.commit();
}

class QuietPrompter : public Prompter {
public:
    void inform(const QString& text, const QString& title) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    Answer ask(const QString&, const QString&, Buttons, Answer defaultButton) override
    {
        return defaultButton;
    }
    std::optional<QString> askText(const QString&, const QString&) override { return std::nullopt; }
};

QString seconds(qint64 ms)
{
    return ms < 1000 ? QStringLiteral("%1 ms").arg(ms) : QStringLiteral("%1 s").arg(ms / 1000.0, 0, 'f', 2);
}

void measure(QTextStream& out, const QString& path, int books, const QString& definitionName, bool withPdf)
{
    const ReportDefinition& definition = *findDefinition(definitionName);
    resetPeakMemory();
    QElapsedTimer clock;
    qint64 readMs = 0;
    {
        Report report(definition);
        clock.start();
        if (const Status read = loadReportData(report, path); !read) {
            out << "read failed: " << read.error().text() << Qt::endl;
            return;
        }
        readMs = clock.elapsed();
    }

    // The window as the menu's button opens it: read, lay out the first
    // page, paint it; then the rest laid out from the event loop.
    QuietPrompter prompter;
    ReportWindow window(definition, path, prompter);
    window.resize(1200, 900);
    clock.restart();
    if (const Status loaded = window.loadReport(); !loaded) {
        out << "window failed: " << loaded.error().text() << Qt::endl;
        return;
    }
    window.show();
    window.grab();
    const qint64 firstPageMs = clock.elapsed();
    while (!window.viewer()->isLaidOut())
        QApplication::processEvents();
    const qint64 finalMs = clock.elapsed();
    const int pages = window.viewer()->pageCount();

    // Every page made again from its record, as painting does first.
    clock.restart();
    const ReportDocument document = window.viewer()->document();
    for (int page = 0; page < document.pageCount(); ++page)
        (void)document.page(page);
    const qint64 remakeMs = std::max<qint64>(clock.elapsed(), 1);

    const qint64 firstPageLimit = books <= 100000 ? 300 : 1500;
    out << QStringLiteral("%1 books  %2  rows read %3  first page %4 (limit %5)  page count final %6 "
                          "(limit 6 s)  %7 pages, made again from their records at %8 pages/s")
               .arg(books, 8)
               .arg(definitionName, -22)
               .arg(seconds(readMs), 8)
               .arg(seconds(firstPageMs), 8)
               .arg(seconds(firstPageLimit))
               .arg(seconds(finalMs), 8)
               .arg(pages, 7)
               .arg(qint64(pages) * 1000 / remakeMs)
        << Qt::endl;

    if (withPdf) {
        const QString pdf = path + QStringLiteral(".pdf");
        clock.restart();
        const std::clock_t cpuStart = std::clock();
        if (const Status written = window.viewer()->exportPdf(pdf); !written) {
            out << "PDF failed: " << written.error().text() << Qt::endl;
            return;
        }
        const qint64 pdfMs = std::max<qint64>(clock.elapsed(), 1);
        // The processor's time too: on a machine shared with other work the
        // clock on the wall says as much about them as about the export.
        const qint64 cpuMs = std::max<qint64>((std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC, 1);
        QFile::remove(pdf);
        out << QStringLiteral("%1PDF %2 pages/s (limit 500; %3 a processor second)")
                   .arg(QString(33, u' '))
                   .arg(qint64(pages) * 1000 / pdfMs)
                   .arg(qint64(pages) * 1000 / cpuMs)
            << Qt::endl;
    }
    out << QStringLiteral("%1peak %2 MB (limit 400)").arg(QString(33, u' ')).arg(peakMemoryMb()) << Qt::endl;
    window.close();
}

// What reading the same rows costs SQLite alone, in table order.
void measureBareRead(QTextStream& out, const QString& path)
{
    BenchProbe probe(path);
    QElapsedTimer clock;
    clock.start();
    const Result<qint64> rows = probe.readReportColumns();
    if (!rows) {
        out << "bare read failed: " << rows.error().text() << Qt::endl;
        return;
    }
    out << QStringLiteral("         bare SQLite: the report's columns of %1 rows read in %2")
               .arg(*rows)
               .arg(seconds(clock.elapsed()))
        << Qt::endl;
}

// The machine's own limit for PDF pages: a plain QPainter listing of 64
// lines a page, each line the columns of a book, into a PDF file.
void measurePlainPdf(QTextStream& out, const QString& path)
{
    constexpr int pages = 1000;
    QPdfWriter writer(path);
    writer.setResolution(600);
    QPainter painter(&writer);
    painter.setFont(reportFont(FontRole::Detail));
    const double scale = 600 / 72.0;
    QElapsedTimer clock;
    clock.start();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.scale(scale, scale);
        for (int line = 0; line < 64; ++line) {
            const int book = page * 64 + line;
            const double y = 40 + line * 11.5;
            painter.drawText(QPointF(42, y), QStringLiteral("The Book Number %1").arg(book));
            painter.drawText(QPointF(220, y), QStringLiteral("Author%1, First").arg(book % 5000));
            painter.drawText(QPointF(380, y), QString::number(1900 + book % 120));
            painter.drawText(QPointF(430, y), QString::number(100 + book % 700));
        }
        painter.restore();
    }
    painter.end();
    const qint64 ms = std::max<qint64>(clock.elapsed(), 1);
    QFile::remove(path);
    out << QStringLiteral("         plain QPainter listing into a PDF: %1 pages/s").arg(pages * 1000 / ms)
        << Qt::endl;
}

// shelvioreports --pdf: the time and the peak memory of the whole run.
void measureCommandLinePdf(QTextStream& out, const QString& path, const QString& definitionName)
{
    resetPeakMemory();
    CommandLine commandLine;
    commandLine.action = CommandLine::Action::Pdf;
    commandLine.definition = definitionName;
    commandLine.file = path + QStringLiteral(".pdf");
    QString said;
    QTextStream quiet(&said);
    QElapsedTimer clock;
    clock.start();
    const int exitCode = runCommandLine(commandLine, path, quiet, quiet);
    const qint64 ms = std::max<qint64>(clock.elapsed(), 1);
    QFile::remove(commandLine.file);
    out << QStringLiteral("         --pdf %1: exit %2, %3 (%4)  peak %5 MB")
               .arg(definitionName)
               .arg(exitCode)
               .arg(seconds(ms))
               .arg(said.trimmed())
               .arg(peakMemoryMb())
        << Qt::endl;
}

// The offscreen platform says for every window shown that it cannot pass
// on size hints; that is no figure.
void quietMessages(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (!message.contains(QStringLiteral("propagateSizeHints")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption million(QStringLiteral("million"), QStringLiteral("Adds 1,000,000 books."));
    const QCommandLineOption books(QStringLiteral("books"), QStringLiteral("Only this many books."),
                                   QStringLiteral("N"));
    const QCommandLineOption keep(
        QStringLiteral("catalogue"),
        QStringLiteral("Keeps the catalogue here and uses it again (one size only)."),
        QStringLiteral("FILE"));
    const QCommandLineOption only(QStringLiteral("reports"),
                                  QStringLiteral("Only these reports, comma-separated."),
                                  QStringLiteral("NAMES"));
    const QCommandLineOption noPdf(QStringLiteral("no-pdf"), QStringLiteral("Leaves the PDF figures out."));
    parser.addOptions({million, books, keep, only, noPdf});
    parser.process(app);
    QTextStream out(stdout);
    QList<int> sizes{10000, 100000};
    if (parser.isSet(million))
        sizes << 1000000;
    if (parser.isSet(books))
        sizes = {parser.value(books).toInt()};
    QStringList reports{QStringLiteral("crBooksByTitle"), QStringLiteral("crBooksByAuthor"),
                        QStringLiteral("crFullListingByAuthor")};
    if (parser.isSet(only))
        reports = parser.value(only).split(u',');
    for (int count : sizes) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Shelvio.mdb"));
        const QString kept = parser.value(keep);
        if (!kept.isEmpty() && QFile::exists(kept)) {
            QFile::copy(kept, path);
        } else {
            if (const Status built = buildCatalogue(path, count); !built) {
                out << "cannot build the catalogue: " << built.error().text() << Qt::endl;
                return 1;
            }
            if (!kept.isEmpty())
                QFile::copy(path, kept);
        }
        measureBareRead(out, path);
        if (!parser.isSet(noPdf))
            measurePlainPdf(out, path + QStringLiteral(".plain.pdf"));
        for (const QString& name : reports)
            measure(out, path, count, name, !parser.isSet(noPdf));
        if (!parser.isSet(noPdf))
            measureCommandLinePdf(out, path, QStringLiteral("crBooksByAuthor"));
    }
    return 0;
}
