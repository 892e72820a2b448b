// Prints how long the report viewer takes over large catalogues: reading a
// report's books, laying them out and writing the pages to PDF.
#include "connection.h"
#include "nameforms.h"
#include "report.h"
#include "reportlayout.h"
#include "reportpainter.h"
#include "schema.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSqlQuery>
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

bool buildCatalogue(const QString& path, int books)
{
    QString error;
    QSqlDatabase db = openConnection(path, Access::ReadWrite, &error);
    if (!db.isOpen() || !schema::create(db, &error))
        return false;
    {
        QSqlQuery insert(db);
        db.transaction();
        insert.prepare(
            QStringLiteral("INSERT INTO Books (Title, GA2, Author, GA1, YearPublished, Pages, Rating, "
                           "DateRead, ReadBook, OwnBook) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < books; ++i) {
            const QString title = QStringLiteral("The Book Number %1").arg(i * 7919 % books);
            insert.addBindValue(title);
            insert.addBindValue(sortTitle(title));
            insert.addBindValue(QStringLiteral("Author%1").arg(i % 5000));
            insert.addBindValue(QStringLiteral("First"));
            insert.addBindValue(1900 + i % 120);
            insert.addBindValue(100 + i % 700);
            insert.addBindValue(i % 11);
            insert.addBindValue(
                QStringLiteral("%1/%2/%3").arg(1 + i % 12).arg(1 + i % 28).arg(1990 + i % 30));
            insert.addBindValue(i % 2);
            insert.addBindValue(i % 3 == 0);
            insert.exec();
        }
        db.commit();
    }
    closeConnection(db);
    return true;
}

void measure(QTextStream& out, const QString& path, int books, const QString& definitionName)
{
    const ReportDefinition& definition = *findDefinition(definitionName);
    Report report(definition);
    report.table(1).setLocation(path);
    QString error;
    QElapsedTimer clock;
    clock.start();
    if (!report.readData(&error)) {
        out << "read failed: " << error << Qt::endl;
        return;
    }
    const qint64 readMs = clock.restart();
    const ReportDocument document = layoutReport(definition, report.books(), defaultLayoutOptions());
    const qint64 layoutMs = clock.restart();
    const QString pdf = path + QStringLiteral(".pdf");
    exportPdf(document, pdf, &error);
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
        if (!buildCatalogue(path, books))
            return 1;
        for (const char* name : {"crBooksByTitle", "crBooksByAuthor"})
            measure(out, path, books, QString::fromLatin1(name));
    }
    return 0;
}
