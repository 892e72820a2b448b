// The report viewer reads while the editor writes. A second process saves,
// changes and deletes books and categories as fast as it can (catalogue_worker
// churn) while every report is run again and again: no run may fail, and no
// run may see a change half-made.
#include "report.h"
#include "reporttesting.h"
#include "testcatalogue.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace shelvio;
using namespace shelvio::reports;

class TestReadersBesideWriters : public QObject {
    Q_OBJECT
private slots:
    void everyReportReadsWholeBooksBesideAWriter();
};

void TestReadersBesideWriters::everyReportReadsWholeBooksBesideAWriter()
{
    testing::TestCatalogue file;
    for (const char* name : {"Fiction", "History", "Poetry"})
        file.addCategory(QString::fromLatin1(name));
    file.addManyBooks(
        300, [](int i) { return testing::book(QStringLiteral("Seed %1").arg(i), QStringLiteral("Seed")); });
    QTemporaryDir backups;
    QProcess writer;
    writer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/catalogue_worker"),
                 {QStringLiteral("edit"), file.path(), backups.path(), QStringLiteral("7")});
    QVERIFY2(writer.waitForReadyRead(20000), qPrintable(writer.readAllStandardError()));

    int runs = 0;
    qint64 booksSeen = 0;
    for (int round = 0; round < 3; ++round) {
        for (const ReportDefinition& definition : reportDefinitions()) {
            Report report(definition);
            const Status read = loadReportData(report, file.path());
            QVERIFY2(read, qPrintable(definition.name + QStringLiteral(": ") + read.error().text()));
            ++runs;
            booksSeen += qint64(report.rows()->size());
            if (!definition.categorySubreport)
                continue;
            // The writer names in a book's comments the categories it saved
            // the book with: a book read whole has no link beyond those (a
            // category deleted since may be missing).
            for (qsizetype i = 0; i < report.rows()->size(); ++i) {
                const Book book = report.rows()->book(i);
                const QStringList named = book.comments.split(u'\n', Qt::SkipEmptyParts);
                const QSet<QString> allowed(named.begin(), named.end());
                QSet<QString> linked(book.categories.begin(), book.categories.end());
                QVERIFY2(
                    linked.subtract(allowed).isEmpty(),
                    qPrintable(
                        QStringLiteral("%1: book %2 read half-changed").arg(definition.name).arg(*book.id)));
            }
        }
    }
    writer.kill();
    writer.waitForFinished();
    const int changes = QString::fromUtf8(writer.readAllStandardOutput()).count(QStringLiteral("done "));
    qInfo("%d report runs (%lld books read) beside %d changes by another program", runs, booksSeen, changes);
    QVERIFY(changes > 0);
}

QTEST_MAIN(TestReadersBesideWriters)
#include "tst_readersbesidewriters.moc"
