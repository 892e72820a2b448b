// Every report laid out and painted over a few books whose fields come from
// the input, read back from a real catalogue file as the viewer reads them.
#include "fuzzinput.h"
#include "numbers.h"
#include "report.h"
#include "reportpainter.h"
#include "seeding.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace shelvio::reports;
using shelvio::Book;
using shelvio::BookSelection;
using shelvio::fuzzing::FuzzInput;
using shelvio::fuzzing::require;

namespace {

// Reports measure and draw text: an application with the offscreen platform.
// It lives until the process ends, and is not destroyed at exit, when Qt's
// own statics may already be gone.
void startApplication()
{
    static int argc = 1;
    static char name[] = "fuzz_reportlayout";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = nullptr;
    if (application)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(argc, argv);
}

const QString textAlphabet = u"Aa Tthe,/0123456789\n\t\"'%_\\\u200f\u05d0\u0301\U0001F4DA"_s;

QString fieldText(FuzzInput& input, int maxLength)
{
    return input.flag() ? input.text(maxLength) : input.textOf(textAlphabet, maxLength);
}

Book fuzzedBook(FuzzInput& input)
{
    Book book;
    book.title = fieldText(input, 40);
    book.author = fieldText(input, 20);
    book.firstName = fieldText(input, 20);
    book.yearPublished = input.optionalNumber();
    book.pages = input.optionalNumber();
    if (const auto cost = input.optionalNumber())
        book.costUnits = *cost % (shelvio::maxCostUnits + 1);
    book.dateRead = input.textOf(u"0123456789/"_s, 12);
    book.comments = fieldText(input, 200);
    book.rating = input.flag() ? input.optionalNumber() : qint64(input.byte() % 12);
    book.wantToBuy = input.flag();
    book.ownBook = input.flag();
    book.readBook = input.flag();
    book.wantToRead = input.flag();
    return book;
}

bool selected(const Book& book, BookSelection selection)
{
    switch (selection) {
    case BookSelection::All:
        return true;
    case BookSelection::ReadBook:
        return book.readBook;
    case BookSelection::WantToRead:
        return book.wantToRead;
    case BookSelection::WantToBuy:
        return book.wantToBuy;
    case BookSelection::OwnBook:
        return book.ownBook;
    }
    return false;
}

// Writes the books, each in some of the categories, to a new catalogue.
bool writeCatalogue(const QString& path, const std::vector<Book>& books, FuzzInput& input)
{
    shelvio::CatalogueSeeder seeder(path);
    QList<qint64> categories;
    const int categoryCount = input.byte() % 3;
    for (int i = 0; i < categoryCount; ++i) {
        // A number keeps the names apart however the fuzzed part reads.
        if (const auto id = seeder.addCategory(fieldText(input, 12) + QString::number(i)))
            categories << *id;
    }
    for (const Book& book : books) {
        QList<qint64> links;
        for (const qint64 id : categories) {
            if (input.flag())
                links << id;
        }
        if (!seeder.addBook(book, links))
            return false;
    }
    return seeder.commit() && seeder.status();
}

void paintEveryPage(const ReportDocument& document)
{
    QImage image(200, 280, QImage::Format_RGB32);
    for (int page = 0; page < document.pageCount(); ++page) {
        QPainter painter(&image);
        painter.scale(image.width() / document.pageSize().width(),
                      image.height() / document.pageSize().height());
        paintPage(painter, document, page, u"a"_s);
    }
}

void checkReport(const ReportDefinition& definition, const QString& path, const std::vector<Book>& books)
{
    const LayoutOptions options{QPageSize(QPageSize::A4), QLocale(u"en_US"_s), QDate(2024, 3, 5)};
    const auto document = runReport(definition, path, options);
    require(document.ok(), "the report runs", definition.name);
    qint64 wanted = 0;
    for (const Book& book : books)
        wanted += selected(book, definition.selection) ? 1 : 0;
    require(document->isComplete() && !document->isEmpty(), "the report is laid out whole", definition.name);
    require(document->bookCount() == wanted, "every selected book is in the report", definition.name);
    paintEveryPage(*document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    startApplication();
    FuzzInput input(data, size);
    std::vector<Book> books(input.byte() % 5);
    for (Book& book : books)
        book = fuzzedBook(input);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"Shelvio.mdb"_s);
    require(writeCatalogue(path, books, input), "the books are stored");
    for (const ReportDefinition& definition : reportDefinitions())
        checkReport(definition, path, books);
    return 0;
}

// Fontconfig keeps its caches for the life of the process: not a leak of
// ours, in a build with LeakSanitizer.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}
