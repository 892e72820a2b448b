#pragma once

#include "reportdata.h"

#include <QString>

#include <vector>

// The eighteen reports as data: one row each, read by the engine, the menu
// window and the command line alike. Adding a report is adding a row.
namespace shelvio::reports {

// What a grouping level breaks on.
enum class Grouping {
    None,
    AuthorLetterThenAuthor, // initial of the last name, then the author
    Author,
    TitleLetter, // initial of the sort title
    ReadYear,
    Rating,
};

enum class DetailStyle {
    List,            // one line per book, in columns under headings
    FullEntryAcross, // each book's full entry, two entries side by side
    FullEntryDown,   // each book's full entry, two columns filled downwards
};

// The columns a list report prints.
enum class Field { SortTitle, Author, Year, Pages, Rating, Cost, DateRead, HaveReadPicture };

// The yes/no flags a report can show as ticked or empty boxes.
enum class Flag { ReadBook, WantToRead, WantToBuy, OwnBook };

struct ReportDefinition {
    QString name;       // crBooksByAuthor
    QString windowName; // frmRptBooksByAuthor
    QString buttonName; // Command11
    QString caption;    // the window's caption, also the report's title
    BookSelection selection;
    BookOrder order;
    Grouping grouping;
    bool pageBreakPerGroup;
    DetailStyle detail;
    std::vector<Field> columns; // list reports only
    std::vector<Flag> flagPictures;
    bool categorySubreport; // each entry lists the book's categories

    int groupLevels() const;
};

// Every report, in the order of their buttons' numbers.
const std::vector<ReportDefinition>& reportDefinitions();

// The definition of that name, or nullptr.
const ReportDefinition* findDefinition(const QString& name);

// Texts that go with a flag picture in the full entries, and a column heading.
QString flagCaption(Flag flag);

} // namespace shelvio::reports
