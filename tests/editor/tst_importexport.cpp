// File > Export Books and File > Import Books of the real window on a real
// catalogue file: each kind of file brought in, the tree, lists and count
// after it, files that are refused with the catalogue untouched, Cancel
// half-way, and the column, summary and progress dialogs themselves.
#include "bookcsv.h"
#include "editorharness.h"
#include "exchangedialogs.h"
#include "importdialogs.h"
#include "textfold.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace shelvio;
using exchange::Column;
using testing::EditorHarness;

namespace {

// Answers the import's questions from a script and records them.
class ScriptedExchange : public ExchangeDialogs {
public:
    QString file;
    std::optional<QList<Column>> columns;        // nothing: Cancel in the column dialog
    std::optional<bool> withBooksOnFile = false; // nothing: Cancel in the summary
    qint64 cancelAfter = -1;                     // books; -1: never
    int columnQuestions = 0;
    int summaries = 0;
    QString lastSummary;

    std::optional<QString> exportFileName(QWidget*) override { return file; }
    std::optional<QString> importFileName(QWidget*) override { return file; }
    bool chooseColumns(exchange::ImportSource* source, QWidget*) override
    {
        ++columnQuestions;
        if (columns)
            source->mapping = *columns;
        return columns.has_value();
    }
    std::optional<bool> confirmImport(const exchange::ImportPlan& plan, QWidget*) override
    {
        ++summaries;
        lastSummary = exchange::planSummary(plan) + exchange::problemLines(plan).join(u'\n');
        return withBooksOnFile;
    }
    std::unique_ptr<ImportProgressView> showProgress(qint64, QWidget*) override
    {
        return std::make_unique<Progress>(cancelAfter);
    }

private:
    struct Progress : ImportProgressView {
        explicit Progress(qint64 stopAt)
            : stopAt(stopAt)
        {
        }
        bool advance(qint64 added) override { return added != stopAt; }
        qint64 stopAt;
    };
};

QString fixture(const QString& name)
{
    return testing::fixturesFolder() + u"/exchange/"_s + name;
}

QByteArray hashOf(const QString& path)
{
    return QCryptographicHash::hash(testing::fileBytes(path), QCryptographicHash::Sha256);
}

void trigger(EditorHarness& editor, const char* action)
{
    editor.window().findChild<QAction*>(QString::fromLatin1(action))->trigger();
}

} // namespace

class TestImportExportWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void importsEachKind_data();
    void importsEachKind();
    void refusedFilesChangeNothing_data();
    void refusedFilesChangeNothing();
    void cancelledHalfWayChangesNothing();
    void exportsEveryBook();
    void columnDialogGuessesAndPreviews();
    void summaryDialogOffersTheChoice();
    void progressDialogCancels();

private:
    std::unique_ptr<EditorHarness> m_editor;
    ScriptedExchange m_dialogs;
};

void TestImportExportWindow::init()
{
    m_dialogs = ScriptedExchange();
    m_editor = std::make_unique<EditorHarness>();
    QVERIFY(m_editor->start());
    m_editor->window().useExchangeDialogs(m_dialogs);
}

void TestImportExportWindow::cleanup()
{
    m_editor.reset();
}

void TestImportExportWindow::importsEachKind_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("withBooksOnFile");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("titles"); // the tree by title, after the book on file
    QTest::addColumn<QStringList>("categories");
    QTest::newRow("Goodreads") << u"goodreads-library-export.csv"_s << false << u"6 Books on File."_s
                               << QStringList{u"Anna Karenina"_s, u"Gödel, Escher, Bach"_s,
                                              u"Hobbit, The "_s,  u"Left Hand of Darkness, The "_s,
                                              u"Middlemarch"_s,   u"Untitled Draft"_s}
                               << QStringList{u"classics"_s, u"currently-reading"_s, u"Fantasy"_s,
                                              u"favorites"_s, u"science-fiction"_s};
    QTest::newRow("calibre, the book on file skipped")
        << u"calibre-catalog.csv"_s << false << u"4 Books on File."_s
        << QStringList{u"Book Without Much, A"_s, u"Émile, ou De l'éducation"_s, u"Hobbit, The "_s,
                       u"Long Tags"_s}
        << QStringList{u"Fantasy"_s, u"Philosophy"_s, u"Science Fiction"_s}; // Classics: the Hobbit's alone
    QTest::newRow("calibre, the book on file added")
        << u"calibre-catalog.csv"_s << true << u"5 Books on File."_s
        << QStringList{u"Book Without Much, A"_s, u"Émile, ou De l'éducation"_s, u"Hobbit, The "_s,
                       u"Hobbit, The "_s, u"Long Tags"_s}
        << QStringList{u"Classics"_s, u"Fantasy"_s, u"Philosophy"_s, u"Science Fiction"_s};
    QTest::newRow("Tellico") << u"tellico-books.tc"_s << false << u"3 Books on File."_s
                             << QStringList{u"Émile, ou De l'éducation"_s, u"Hobbit, The "_s,
                                            u"Wizard of Earthsea, A"_s}
                             << QStringList{u"Fantasy"_s, u"Philosophy"_s};
}

void TestImportExportWindow::importsEachKind()
{
    QFETCH(QString, file);
    QFETCH(bool, withBooksOnFile);
    QFETCH(QString, count);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, categories);
    m_editor->file().addCategory(u"fantasy"_s); // the same category as Fantasy
    m_editor->file().addBook(u"The Hobbit"_s, u"Tolkien"_s, u"J. R. R."_s, {u"fantasy"_s});
    m_dialogs.file = fixture(file);
    m_dialogs.withBooksOnFile = withBooksOnFile;
    trigger(*m_editor, "mnuImport");
    QCOMPARE(m_dialogs.columnQuestions, 0); // each is read by its own columns
    QCOMPARE(m_dialogs.summaries, 1);
    QVERIFY2(m_editor->prompter().last().text.contains(u"imported"_s),
             qPrintable(m_editor->prompter().last().text));
    QCOMPARE(m_editor->countLabel(), count);
    QCOMPARE(m_editor->rootTexts(), titles);
    // "fantasy" was on file before: the files' "Fantasy" joined it.
    categories.replaceInStrings(u"Fantasy"_s, u"fantasy"_s);
    std::sort(categories.begin(), categories.end(), lessForDisplay);
    QCOMPARE(m_editor->listEntries("lstCategories"), categories);
}

void TestImportExportWindow::refusedFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    const QByteArray tellico = testing::fileBytes(fixture(u"tellico-books.tc"_s));
    QTest::newRow("0 bytes") << QByteArray() << u"empty.csv"_s << u"The file is empty"_s;
    QTest::newRow("not a CSV") << QByteArray("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\0", 24) << u"book.pdf"_s
                               << u"not a text file"_s;
    QTest::newRow("wrong encoding") << QByteArray("Title;Author\nCaf\xe9 au lait;Zola\n") << u"latin1.csv"_s
                                    << u"not text in UTF-8"_s;
    QTest::newRow("unclosed quote") << QByteArray("Title,Author\n\"Open,Smith\n") << u"open.csv"_s
                                    << u"Line 2: a field opens with a double quote"_s;
    QTest::newRow("damaged zip") << tellico.left(tellico.size() - 30) << u"cut.tc"_s
                                 << u"zip archive is damaged"_s;
    QTest::newRow("XML that is not a collection")
        << QByteArray("<?xml version=\"1.0\"?><rss/>") << u"feed.xml"_s << u"not a Tellico collection"_s;
    QTest::newRow("no row makes a book") << QByteArray("Title,Author\n,Smith\n   ,Jones\n") << u"blank.csv"_s
                                         << u"Line 3: there is no title"_s;
}

void TestImportExportWindow::refusedFilesChangeNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, message);
    m_editor->file().addBook(u"Kept"_s);
    m_dialogs.file = m_editor->file().folder() + u'/' + name;
    testing::writeFile(m_dialogs.file, bytes);
    m_dialogs.columns = QList<Column>{Column::Title, Column::LastName};
    const QByteArray before = hashOf(m_editor->file().path());
    trigger(*m_editor, "mnuImport");
    QCOMPARE(m_dialogs.summaries, 0);
    const auto shown = m_editor->prompter().last();
    QCOMPARE(shown.title, u"Import Books"_s);
    QVERIFY2(shown.text.contains(message), qPrintable(shown.text));
    QVERIFY2(shown.text.contains(u"nothing has been changed"_s, Qt::CaseInsensitive), qPrintable(shown.text));
    QCOMPARE(hashOf(m_editor->file().path()), before);
}

void TestImportExportWindow::cancelledHalfWayChangesNothing()
{
    m_editor->file().addBook(u"Kept"_s);
    QByteArray table("Title\tCategories\n");
    for (int i = 0; i < 400; ++i)
        table += "Book " + QByteArray::number(i) + "\tNew " + QByteArray::number(i % 9) + '\n';
    m_dialogs.file = m_editor->file().folder() + u"/many.tsv"_s;
    testing::writeFile(m_dialogs.file, table);
    m_dialogs.columns = QList<Column>{Column::Title, Column::Categories};
    m_dialogs.cancelAfter = 200;
    const QByteArray before = hashOf(m_editor->file().path());
    trigger(*m_editor, "mnuImport");
    QCOMPARE(m_dialogs.columnQuestions, 1);
    QCOMPARE(m_editor->prompter().last().text, u"The import was cancelled. Nothing has been changed."_s);
    QCOMPARE(hashOf(m_editor->file().path()), before);
    QCOMPARE(m_editor->listEntries("lstCategories"), QStringList{});
}

void TestImportExportWindow::exportsEveryBook()
{
    m_editor->file().addCategory(u"Poetry"_s);
    m_editor->file().addBook(u"Leaves of Grass"_s, u"Whitman"_s, u"Walt"_s, {u"Poetry"_s});
    m_editor->file().addBook(u"Ulysses"_s, u"Joyce"_s);
    m_dialogs.file = m_editor->file().folder() + u"/out.csv"_s;
    trigger(*m_editor, "mnuExport");
    QCOMPARE(m_editor->prompter().last().title, u"Export Books"_s);
    QVERIFY(m_editor->prompter().last().text.startsWith(u"2 books were written to"_s));
    const QList<QByteArray> lines = testing::fileBytes(m_dialogs.file).split('\n');
    QCOMPARE(lines.size(), 4); // header, two books, the end
    QVERIFY(lines[1].startsWith("Leaves of Grass,Walt,Whitman,"));
    QVERIFY(lines[1].endsWith(",Poetry,1\r"));
    // A folder that cannot be written is told, not hidden.
    m_dialogs.file = m_editor->file().folder() + u"/missing/out.csv"_s;
    trigger(*m_editor, "mnuExport");
    QVERIFY2(m_editor->prompter().last().text.startsWith(u"The books could not be exported."_s),
             qPrintable(m_editor->prompter().last().text));
}

void TestImportExportWindow::columnDialogGuessesAndPreviews()
{
    const QString path = m_editor->file().folder() + u"/list.csv"_s;
    testing::writeFile(path, "Name,Writer,Published,Stars\nThe Hobbit,\"Tolkien, J. R. R.\",1937,4\n"
                             "An Old Map,Ann Smith,circa 1900,x\n");
    auto source = exchange::readImportFile(path);
    VERIFY_OK(source);
    ColumnMappingDialog dialog(*source, &m_editor->window());
    QCOMPARE(dialog.windowTitle(), u"Import Books – Columns"_s);
    QCOMPARE(dialog.mapping(),
             (QList<Column>{Column::Ignore, Column::Author, Column::YearPublished, Column::Rating}));
    QPushButton* ok = dialog.buttons()->button(QDialogButtonBox::Ok);
    QVERIFY(!ok->isEnabled()); // no column holds the titles yet
    QCOMPARE(dialog.choiceOf(0)->accessibleName(), u"Column 1: Name"_s);
    dialog.choiceOf(0)->setCurrentIndex(int(exchange::columnChoices().indexOf(Column::Title)));
    QVERIFY(ok->isEnabled());
    const QTableWidget* preview = dialog.preview();
    QCOMPARE(preview->rowCount(), 2);
    const auto cell = [&](int row, const QString& header) {
        for (int column = 0; column < preview->columnCount(); ++column) {
            if (preview->horizontalHeaderItem(column)->text() == header)
                return preview->item(row, column)->text();
        }
        return u"no such column"_s;
    };
    QCOMPARE(cell(0, u"Sort Title"_s), u"Hobbit, The "_s);
    QCOMPARE(cell(0, u"Last Name"_s), u"Tolkien"_s);
    QCOMPARE(cell(0, u"Rating"_s), u"Very Good"_s);
    QCOMPARE(cell(1, u"Sort Title"_s), u"Old Map, An"_s);
    QCOMPARE(cell(1, u"Year"_s), QString());
    QCOMPARE(preview->verticalHeaderItem(1)->text(), u"Line 3"_s);
}

void TestImportExportWindow::summaryDialogOffersTheChoice()
{
    QList<exchange::ImportRecord> records(2);
    records[0].line = 2;
    records[0].title = u"On file"_s;
    records[1].line = 3;
    records[1].title = u"Also on file"_s;
    records[1].pages = u"many"_s;
    exchange::ImportPlan plan = exchange::planRecords(exchange::FileKind::Table, records);
    plan.onFile = {true, true};
    ImportSummaryDialog dialog(plan, &m_editor->window());
    QCOMPARE(dialog.windowTitle(), u"Import Books"_s);
    QVERIFY(dialog.skipOption()->isChecked());
    QPushButton* import = dialog.buttons()->button(QDialogButtonBox::Ok);
    QVERIFY(!import->isEnabled()); // every book is on file and would be skipped
    dialog.addOption()->setChecked(true);
    QVERIFY(import->isEnabled());
    QVERIFY(dialog.addBooksOnFile());
    QCOMPARE(dialog.problems()->count(), 1);
    QCOMPARE(dialog.problems()->item(0)->text(),
             u"Line 3: the number of pages \"many\" is not a number; it is stored empty."_s);
    QCOMPARE(dialog.problems()->accessibleName(), u"Rows not read as they stand"_s);
    // Enter takes the default button.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestImportExportWindow::progressDialogCancels()
{
    ExchangeDialogBoxes real;
    const auto progress = real.showProgress(100000, &m_editor->window());
    auto* dialog = m_editor->window().findChild<QProgressDialog*>();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), u"Import Books"_s);
    dialog->setMinimumDuration(0); // shown at once rather than after half a second
    QTimer::singleShot(0, dialog, &QProgressDialog::cancel);
    qint64 added = 0;
    while (added < 100000 && progress->advance(++added)) {
    }
    QVERIFY2(added < 100000, "Cancel did not stop the import");
}

QTEST_MAIN(TestImportExportWindow)
#include "tst_importexport.moc"
