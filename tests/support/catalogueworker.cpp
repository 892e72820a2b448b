// A second program working on a catalogue at the same time as a test: it
// saves books as fast as it can until it is stopped, each book with the same
// three categories, so that a reader can tell a whole book from half of one.
//
//   catalogue_worker save-books CATALOGUE
#include "catalogue.h"
#include "testcatalogue.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QThread>

using namespace shelvio;

namespace {

const QStringList workerCategories{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};

int saveBooksUntilStopped(const QString& path)
{
    Catalogue catalogue;
    if (catalogue.open(path) != Catalogue::OpenStatus::Opened) {
        QTextStream(stderr) << "cannot open " << path << ": " << catalogue.openProblem() << '\n';
        return 1;
    }
    QTextStream out(stdout);
    out << "ready" << Qt::endl;
    for (qint64 n = 0;; ++n) {
        auto record = testing::book(QStringLiteral("Worker %1").arg(n), QStringLiteral("Worker"));
        record.comments = QString(200, QLatin1Char('w'));
        record.categories = workerCategories;
        // A failed save (the file locked for longer than the wait) is tried
        // again with the next book; it has changed nothing.
        (void)catalogue.saveBook(record);
        // A breath between saves, as between two clicks of Save: a writer
        // that never lets go would starve every reader (SQLite's lock is not
        // fair), which no person at a keyboard does.
        QThread::msleep(2);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("save-books"))
        return saveBooksUntilStopped(args.at(2));
    QTextStream(stderr) << "usage: catalogue_worker save-books CATALOGUE\n";
    return 2;
}
