#include "reportdefinition.h"

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

using enum Field;
using S = BookSelection;
using O = BookOrder;
using G = Grouping;
using D = DetailStyle;

const std::vector<Flag> haveRead{Flag::ReadBook};
const std::vector<Flag> allFlags{Flag::ReadBook, Flag::WantToRead, Flag::WantToBuy, Flag::OwnBook};

const std::vector<Field> authorListing{SortTitle, Year, Pages, Rating, HaveReadPicture};
const std::vector<Field> titleListing{SortTitle, Author, Year, Pages, HaveReadPicture};
const std::vector<Field> byAuthor{SortTitle, Year, Pages};
const std::vector<Field> byTitle{SortTitle, Author, Year, Pages};
const std::vector<Field> toBuyByAuthor{SortTitle, Year, Pages, Cost};
const std::vector<Field> toBuyByTitle{SortTitle, Author, Year, Pages, Cost};

std::vector<ReportDefinition> makeDefinitions()
{
    // clang-format off
    return {
        {u"crBooksByAuthorPgBreak"_s, u"frmRptBooksByAuthorPgBreak"_s, u"Command1"_s,
         u"Author Listing - With Page Break"_s, S::All, O::ByAuthor, G::AuthorLetterThenAuthor, true,
         D::List, authorListing, haveRead, false},
        {u"crBooksToRead"_s, u"frmrptBooksToRead"_s, u"Command3"_s,
         u"Books To Read"_s, S::WantToRead, O::ByAuthor, G::Author, false, D::List, byAuthor, {}, false},
        {u"crBooksReadByAuthor"_s, u"frmRptBooksReadByAuthor"_s, u"Command4"_s,
         u"Books Read By Author"_s, S::ReadBook, O::ByAuthor, G::Author, false, D::List, byAuthor, {}, false},
        {u"crBooksToBuyByAuthor"_s, u"frmRptBooksToBuyByAuthor"_s, u"Command5"_s,
         u"Books To Buy - By Author"_s, S::WantToBuy, O::ByAuthor, G::Author, false, D::List, toBuyByAuthor,
         {}, false},
        {u"crBooksOwnedByAuthor"_s, u"frmRptBooksOwnedByAuthor"_s, u"Command6"_s,
         u"Books Owned - By Author"_s, S::OwnBook, O::ByAuthor, G::Author, false, D::List, byAuthor, {}, false},
        {u"crSequentialListing"_s, u"frmRptSequentialListing"_s, u"Command7"_s,
         u"Sequential Listing Of Books Read"_s, S::ReadBook, O::ByReadDate, G::ReadYear, false, D::List,
         {DateRead, SortTitle, Author}, {}, false},
        {u"crBooksByTitlePgBreak"_s, u"frmRptBooksByTitlePgBreak"_s, u"Command8"_s,
         u"Books By Title - Page Break"_s, S::All, O::ByTitle, G::TitleLetter, true, D::List, titleListing,
         haveRead, false},
        {u"crFullListingByAuthor"_s, u"frmFullListingByAuthor"_s, u"Command9"_s,
         u"Full Listing By Author"_s, S::All, O::ByAuthor, G::Author, false, D::FullEntryAcross, {},
         allFlags, true},
        {u"crFullListingByTitle"_s, u"frmFullListingByTitle"_s, u"Command10"_s,
         u"Full Listing By Title"_s, S::All, O::ByTitle, G::TitleLetter, false, D::FullEntryAcross, {},
         allFlags, true},
        {u"crBooksByAuthor"_s, u"frmRptBooksByAuthor"_s, u"Command11"_s,
         u"Author Listing"_s, S::All, O::ByAuthor, G::AuthorLetterThenAuthor, false, D::List, authorListing,
         haveRead, false},
        {u"crBooksByTitle"_s, u"frmRptBooksByTitle"_s, u"Command12"_s,
         u"Books By Title"_s, S::All, O::ByTitle, G::TitleLetter, false, D::List, titleListing, haveRead,
         false},
        {u"crBooksToReadByTitle"_s, u"frmRptBooksToReadByTitle"_s, u"Command13"_s,
         u"Books To Read - By Title"_s, S::WantToRead, O::ByTitle, G::None, false, D::List, byTitle, {}, false},
        {u"crBooksReadByTitle"_s, u"frmRptBooksReadByTitle"_s, u"Command14"_s,
         u"Books Read - By Title"_s, S::ReadBook, O::ByTitle, G::None, false, D::List, byTitle, {}, false},
        {u"crBooksToBuyByTitle"_s, u"frmRptBooksToBuyByTitle"_s, u"Command15"_s,
         u"Books To Buy - By Title"_s, S::WantToBuy, O::ByTitle, G::None, false, D::List, toBuyByTitle, {},
         false},
        {u"crBooksOwnedByTitle"_s, u"frmRptBooksOwnedByTitle"_s, u"Command16"_s,
         u"Books Owned - By Title"_s, S::OwnBook, O::ByTitle, G::None, false, D::List, byTitle, {}, false},
        {u"crFullListingByAuthorInColumns"_s, u"frmFullListingByAuthorInColumns"_s, u"Command17"_s,
         u"Books By Author - Down"_s, S::All, O::ByAuthor, G::Author, false, D::FullEntryDown, {}, allFlags,
         true},
        {u"crFullListingByTitleInColumns"_s, u"frmFullListingByTitleInColumns"_s, u"Command18"_s,
         u"Full Listing By Title - Down"_s, S::All, O::ByTitle, G::TitleLetter, false, D::FullEntryDown, {},
         allFlags, true},
        {u"crBookRating"_s, u"frmRptBookRating"_s, u"Command19"_s,
         u"Book Rating Report"_s, S::All, O::ByRating, G::Rating, false, D::List,
         {SortTitle, Author, DateRead}, {}, false},
    };
    // clang-format on
}

} // namespace

int ReportDefinition::groupLevels() const
{
    switch (grouping) {
    case Grouping::None:
        return 0;
    case Grouping::AuthorLetterThenAuthor:
        return 2;
    default:
        return 1;
    }
}

const std::vector<ReportDefinition>& reportDefinitions()
{
    static const std::vector<ReportDefinition> definitions = makeDefinitions();
    return definitions;
}

const ReportDefinition* findDefinition(const QString& name)
{
    for (const ReportDefinition& definition : reportDefinitions()) {
        if (definition.name == name)
            return &definition;
    }
    return nullptr;
}

QString flagCaption(Flag flag)
{
    switch (flag) {
    case Flag::ReadBook:
        return u"Have Read Book"_s;
    case Flag::WantToRead:
        return u"Want to Read Book"_s;
    case Flag::WantToBuy:
        return u"Want to Buy this Book"_s;
    case Flag::OwnBook:
        return u"Own the Book"_s;
    }
    return {};
}

} // namespace shelvio::reports
