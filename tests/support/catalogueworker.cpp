// A second program working on a catalogue at the same time as a test, until
// it is stopped or killed.
//
//   catalogue_worker save-books CATALOGUE
//     saves books as fast as it can, each with the same three categories, so
//     that a reader can tell a whole book from half of one.
//   catalogue_worker churn CATALOGUE BACKUP-FOLDER SEED
//     does every kind of change the editor makes, picked at random: saves a
//     new or a changed book, deletes a book, adds or deletes a category, backs
//     the catalogue up and restores the backup. Each book's comments name the
//     categories it was saved with, so that a check can tell a whole change
//     from half of one. Before each action it prints "begin <action>".
//   catalogue_worker hold-lock CATALOGUE MILLISECONDS
//     takes the catalogue's write lock, as a program part-way through a
//     change holds it, says "locked", and lets go after that long.
//   catalogue_worker edit CATALOGUE BACKUP-FOLDER SEED
//     the same without backups and restores: books and categories only, as
//     an editor at work changes them.
#include "catalogue.h"
#include "cataloguefiles.h"
#include "connection.h"
#include "testcatalogue.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>

#include <functional>

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

// What the churn does, one action a call.
class Churn {
public:
    Churn(const QString& path, const QString& backupFolder, quint32 seed, bool editsOnly)
        : m_path(path)
        , m_backup(backupFilePath(backupFolder))
        , m_random(seed)
        , m_editsOnly(editsOnly)
    {
    }

    bool open()
    {
        if (m_catalogue.open(m_path) == Catalogue::OpenStatus::Opened)
            return true;
        QTextStream(stderr) << "cannot open " << m_path << ": " << m_catalogue.openProblem() << '\n';
        return false;
    }

    void step()
    {
        const auto categories = m_catalogue.categoryNames().value_or(QStringList());
        switch (m_random.bounded(16)) {
        case 0:
        case 1:
            return act("add-category", [&] { return m_catalogue.addCategory(uniqueName(u"Cat")); });
        case 2:
            if (!categories.isEmpty())
                act("delete-category", [&] { return m_catalogue.deleteCategory(pick(categories)); });
            return;
        case 3:
        case 4:
        case 5:
            if (const auto id = someBookId())
                act("delete-book", [&] { return m_catalogue.deleteBook(*id); });
            return;
        case 6:
            if (m_editsOnly)
                return saveBook(categories);
            return act("backup", [&] { return m_catalogue.copyFileTo(m_backup); });
        case 7:
            if (m_editsOnly)
                return saveBook(categories);
            return restore();
        default:
            return saveBook(categories);
        }
    }

private:
    // Says which action is under way, does it, and says how it ended: a
    // refused action (a lock held too long) has changed nothing.
    void act(const char* action, const std::function<Status()>& work)
    {
        m_out << "begin " << action << Qt::endl;
        const Status done = work();
        m_out << (done ? "done " : "refused ") << action << Qt::endl;
    }

    QString uniqueName(QStringView stem) { return u"%1 %2"_qs.arg(stem).arg(m_random.generate64()); }
    QString pick(const QStringList& names)
    {
        return names.at(qsizetype(m_random.bounded(quint32(names.size()))));
    }

    std::optional<qint64> someBookId()
    {
        // Any book, each as likely.
        const Result<BookListing> books = m_catalogue.booksByTitle();
        if (!books || books->ids.empty())
            return std::nullopt;
        return books->ids[size_t(m_random.bounded(quint32(books->ids.size())))];
    }

    void saveBook(const QStringList& categories)
    {
        Book book = testing::book(uniqueName(u"Book"), u"Churn"_qs);
        if (m_random.bounded(2) == 0) {
            if (const auto id = someBookId())
                book.id = id;
        }
        for (int i = m_random.bounded(4); i > 0 && !categories.isEmpty(); --i)
            book.categories << pick(categories);
        book.categories.removeDuplicates();
        book.comments = book.categories.join(u'\n');
        act(book.id ? "update-book" : "new-book", [&] {
            const auto saved = m_catalogue.saveBook(book);
            return saved ? Status() : Status(saved.error());
        });
    }

    // As File > Restore does: the backup is checked and staged, the
    // catalogue let go, the staged copy put in its place, the catalogue
    // opened again.
    void restore()
    {
        act("restore", [&] {
            CatalogueReplacement replacement(m_backup, m_path);
            Status done = replacement.prepare();
            if (done) {
                m_catalogue.close();
                done = replacement.commit();
                if (!open())
                    std::exit(1);
            }
            return done;
        });
    }

    QString m_path;
    QString m_backup;
    QRandomGenerator m_random;
    bool m_editsOnly;
    Catalogue m_catalogue;
    QTextStream m_out{stdout};
};

int holdLock(const QString& path, int milliseconds)
{
    QSqlDatabase db = testing::openOrStop(path);
    {
        QSqlQuery lock(db);
        if (!lock.exec(QStringLiteral("BEGIN EXCLUSIVE")))
            return 1;
        QTextStream(stdout) << "locked" << Qt::endl;
        QThread::msleep(milliseconds);
        lock.exec(QStringLiteral("ROLLBACK"));
    }
    closeConnection(db);
    return 0;
}

int churn(const QString& path, const QString& backupFolder, quint32 seed, bool editsOnly)
{
    Churn churn(path, backupFolder, seed, editsOnly);
    if (!churn.open())
        return 1;
    QTextStream(stdout) << "ready" << Qt::endl;
    for (;;)
        churn.step();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("save-books"))
        return saveBooksUntilStopped(args.at(2));
    if (args.size() == 4 && args.at(1) == QLatin1String("hold-lock"))
        return holdLock(args.at(2), args.at(3).toInt());
    if (args.size() == 5 && (args.at(1) == QLatin1String("churn") || args.at(1) == QLatin1String("edit")))
        return churn(args.at(2), args.at(3), args.at(4).toUInt(), args.at(1) == QLatin1String("edit"));
    QTextStream(stderr) << "usage: catalogue_worker save-books CATALOGUE\n"
                           "       catalogue_worker hold-lock CATALOGUE MILLISECONDS\n"
                           "       catalogue_worker churn|edit CATALOGUE BACKUP-FOLDER SEED\n";
    return 2;
}
