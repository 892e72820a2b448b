#pragma once

// Every SQL statement the editor sends, with "?" for each value. Values are
// always bound, never pasted into the text. Text is ordered with
// shelvio_sortkey() (case and accents set aside) and ties are broken by the
// exact text or the row's key, so equal names never interleave.
// An author's names as every author ordering reads them, the editor's tree
// and the reports alike: blanks at the ends and Null set aside.
#define SHELVIO_LAST_NAME "trim(ifnull(Author, ''))"
#define SHELVIO_FIRST_NAME "trim(ifnull(GA1, ''))"

namespace shelvio::sql {

inline constexpr char countBooks[] = "SELECT count(*) FROM Books";
// Changes whenever another connection commits a change to the file (and
// only then): what the catalogue knows of it stays right until it changes.
inline constexpr char dataVersion[] = "PRAGMA data_version";

// The tree orderings as SQLite gives them, ordered by the shelvio_sortkey
// function: the reference that the orderings made in the program are held
// against.
namespace reference {

inline constexpr char booksByTitle[] = "SELECT BookID, GA2 FROM Books ORDER BY shelvio_sortkey(GA2), BookID";

inline constexpr char booksByAuthor[] =
    "SELECT BookID, GA2, Author, GA1 FROM Books "
    "ORDER BY shelvio_sortkey(" SHELVIO_LAST_NAME "), shelvio_sortkey(" SHELVIO_FIRST_NAME
    "), " SHELVIO_LAST_NAME ", " SHELVIO_FIRST_NAME ", shelvio_sortkey(GA2), BookID";

// Categories whose names differ only in letter case stay apart, ordered by
// their key, so that each gets one node.
inline constexpr char booksByCategory[] =
    "SELECT b.BookID, b.GA2, c.CategoryName "
    "FROM BookCategoryLink l "
    "JOIN Books b ON b.BookID = l.BookID "
    "JOIN Category c ON c.CategoryID = l.CategoryKey "
    "ORDER BY shelvio_sortkey(c.CategoryName), c.CategoryID, shelvio_sortkey(b.GA2), b.BookID";

} // namespace reference

// What the tree's orderings read, each table front to back; the program puts
// the rows in order (treelistings.h). BookID is the table's row key, so
// SQLite reads the books in that order without sorting them.
inline constexpr char booksByNumber[] = "SELECT BookID, GA2 FROM Books ORDER BY BookID";
inline constexpr char booksWithAuthorsByNumber[] =
    "SELECT BookID, GA2, Author, GA1 FROM Books ORDER BY BookID";
inline constexpr char categoriesWithNames[] =
    "SELECT CategoryID, CategoryName FROM Category ORDER BY CategoryID";
// Room for the rows of the reads above is made from this, before they start.
inline constexpr char highestBookId[] = "SELECT max(BookID) FROM Books";
inline constexpr char allLinks[] = "SELECT BookID, CategoryKey FROM BookCategoryLink";

// The columns of bookFromRow (bookrows.h), in its order.
inline constexpr char bookById[] =
    "SELECT BookID, Title, GA2, Author, GA1, YearPublished, Pages, Cost, DateRead, Comments, Rating, "
    "WantToBuy, OwnBook, ReadBook, GB1 FROM Books WHERE BookID = ?";

inline constexpr char insertBook[] =
    "INSERT INTO Books (Title, Author, YearPublished, Rating, DateRead, Comments, Cost, WantToBuy, "
    "OwnBook, Pages, ReadBook, GB1, GA1, GA2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

inline constexpr char updateBook[] =
    "UPDATE Books SET Title = ?, Author = ?, YearPublished = ?, Rating = ?, DateRead = ?, "
    "Comments = ?, Cost = ?, WantToBuy = ?, OwnBook = ?, Pages = ?, ReadBook = ?, GB1 = ?, "
    "GA1 = ?, GA2 = ? WHERE BookID = ?";

// A book with a number of its own choosing (Null: the next one), for filling
// a catalogue in bulk.
inline constexpr char insertBookWithId[] =
    "INSERT INTO Books (Title, Author, YearPublished, Rating, DateRead, Comments, Cost, WantToBuy, "
    "OwnBook, Pages, ReadBook, GB1, GA1, GA2, BookID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

inline constexpr char deleteBook[] = "DELETE FROM Books WHERE BookID = ?";

inline constexpr char categoryNames[] = "SELECT CategoryName FROM Category ORDER BY CategoryID";

inline constexpr char categoryNamesOfBook[] =
    "SELECT c.CategoryName FROM Category c JOIN BookCategoryLink l ON l.CategoryKey = c.CategoryID "
    "WHERE l.BookID = ? ORDER BY c.CategoryID";

// A category is looked up by its exact stored name: "Fiction" and "fiction"
// may both be on file, and each keeps its own books.
inline constexpr char categoryIdByName[] =
    "SELECT CategoryID FROM Category WHERE CategoryName = ? ORDER BY CategoryID LIMIT 1";

// Whether a name is on file, without regard to letter case.
inline constexpr char categoryNameOnFile[] =
    "SELECT count(*) FROM Category WHERE shelvio_casefold(CategoryName) = shelvio_casefold(?)";

inline constexpr char insertCategory[] = "INSERT INTO Category (CategoryName) VALUES (?)";

inline constexpr char booksUsingCategory[] =
    "SELECT count(*) FROM Books b JOIN BookCategoryLink l ON l.BookID = b.BookID WHERE l.CategoryKey = ?";

inline constexpr char deleteCategory[] = "DELETE FROM Category WHERE CategoryID = ?";

inline constexpr char deleteLinksOfBook[] = "DELETE FROM BookCategoryLink WHERE BookID = ?";
inline constexpr char deleteLinksOfCategory[] = "DELETE FROM BookCategoryLink WHERE CategoryKey = ?";
inline constexpr char insertLink[] =
    "INSERT OR IGNORE INTO BookCategoryLink (BookID, CategoryKey) VALUES (?, ?)";

// Bringing books in and taking them out: every book by number with the
// columns of bookFromRow, the links by book, the names that tell a book
// already on file, and the categories with their keys.
namespace exchange {

inline constexpr char booksByNumber[] =
    "SELECT BookID, Title, GA2, Author, GA1, YearPublished, Pages, Cost, DateRead, Comments, Rating, "
    "WantToBuy, OwnBook, ReadBook, GB1 FROM Books ORDER BY BookID";
inline constexpr char linksByBook[] =
    "SELECT BookID, CategoryKey FROM BookCategoryLink ORDER BY BookID, CategoryKey";
inline constexpr char titlesAndAuthors[] = "SELECT Title, Author, GA1 FROM Books";
inline constexpr char categories[] = "SELECT CategoryID, CategoryName FROM Category ORDER BY CategoryID";

} // namespace exchange

// SQLite's integrity check without the costly index cross-check: one row
// "ok", or one row per fault found.
inline constexpr char quickCheck[] = "PRAGMA quick_check";

// A write transaction that takes the write lock at once.
inline constexpr char beginImmediate[] = "BEGIN IMMEDIATE";

// What the reports read. Their statements are put together from these fixed
// pieces only; no value is ever part of the text.
namespace report {

// The report statements are put together from these fixed pieces only; no
// value is ever part of the text.
// The columns of bookFromRow (bookrows.h), in its order.
inline constexpr char selectBooks[] =
    "SELECT BookID, Title, coalesce(nullif(GA2, ''), Title, ''), " SHELVIO_LAST_NAME ", " SHELVIO_FIRST_NAME
    ", YearPublished, Pages, Cost, DateRead, Comments, Rating, "
    "WantToBuy, OwnBook, ReadBook, GB1 FROM Books";

// The same columns as stored, for the program to trim the names and fall
// back on the title itself.
inline constexpr char selectBookColumns[] =
    "SELECT BookID, Title, GA2, Author, GA1, YearPublished, Pages, Cost, DateRead, Comments, Rating, "
    "WantToBuy, OwnBook, ReadBook, GB1 FROM Books";

inline constexpr char whereReadBook[] = " WHERE ifnull(ReadBook, 0) <> 0";
inline constexpr char whereWantToRead[] = " WHERE ifnull(GB1, 0) <> 0";
inline constexpr char whereWantToBuy[] = " WHERE ifnull(WantToBuy, 0) <> 0";
inline constexpr char whereOwnBook[] = " WHERE ifnull(OwnBook, 0) <> 0";

// Rows in the table's own order, for the program to put in order.
inline constexpr char orderByNumber[] = " ORDER BY BookID";

inline constexpr char orderByTitle[] =
    " ORDER BY shelvio_sortkey(coalesce(nullif(GA2, ''), Title, '')), BookID";

// By the name each book is filed under (filedAuthorName), then by the first
// name of those filed under their last name. Books with neither a last nor a
// first name come after all named authors; names equal but for case are kept
// apart by the exact text.
inline constexpr char orderByAuthor[] =
    " ORDER BY (" SHELVIO_LAST_NAME " = '' AND " SHELVIO_FIRST_NAME " = ''), "
    "shelvio_sortkey(coalesce(nullif(" SHELVIO_LAST_NAME ", ''), " SHELVIO_FIRST_NAME ")), "
    "shelvio_sortkey(CASE WHEN " SHELVIO_LAST_NAME " = '' THEN '' ELSE " SHELVIO_FIRST_NAME
    " END), " SHELVIO_LAST_NAME ", " SHELVIO_FIRST_NAME ", "
    "shelvio_sortkey(coalesce(nullif(GA2, ''), Title, '')), BookID";

inline constexpr char categoriesOfBooks[] =
    "SELECT l.BookID, c.CategoryName FROM BookCategoryLink l "
    "JOIN Category c ON c.CategoryID = l.CategoryKey "
    "ORDER BY l.BookID, shelvio_sortkey(c.CategoryName), c.CategoryID";

} // namespace report

// The benchmark's probe of what SQLite alone takes (benchprobe.h): the
// tree's rows read in order over indexes made for the purpose, and a bare save.
namespace probe {

inline constexpr const char* createIndexes[] = {
    "CREATE INDEX IF NOT EXISTS Probe_Title ON Books (GA2)",
    "CREATE INDEX IF NOT EXISTS Probe_Author ON Books (Author, GA1, GA2)",
    "CREATE INDEX IF NOT EXISTS Probe_CategoryName ON Category (CategoryName)",
};
inline constexpr const char* dropIndexes[] = {
    "DROP INDEX IF EXISTS Probe_Title",
    "DROP INDEX IF EXISTS Probe_Author",
    "DROP INDEX IF EXISTS Probe_CategoryName",
};
inline constexpr char titlesInOrder[] = "SELECT BookID, GA2 FROM Books ORDER BY GA2";
inline constexpr char authorsInOrder[] =
    "SELECT BookID, GA2, Author, GA1 FROM Books ORDER BY Author, GA1, GA2";
inline constexpr char categoriesInOrder[] =
    "SELECT b.BookID, b.GA2, c.CategoryName FROM BookCategoryLink l "
    "JOIN Books b ON b.BookID = l.BookID JOIN Category c ON c.CategoryID = l.CategoryKey "
    "ORDER BY c.CategoryName, b.GA2";
inline constexpr char reportColumns[] =
    "SELECT BookID, Title, GA2, Author, GA1, YearPublished, Pages, Cost, DateRead, Comments, Rating, "
    "WantToBuy, OwnBook, ReadBook, GB1 FROM Books";
inline constexpr char updateTitle[] = "UPDATE Books SET Title = ?, GA2 = ? WHERE BookID = ?";

} // namespace probe

// Converting a catalogue of the older Jet format: the keys already in use,
// and each table's next key, which SQLite keeps in sqlite_sequence.
namespace legacy {

inline constexpr char countCategories[] = "SELECT count(*) FROM Category";
inline constexpr char countLinks[] = "SELECT count(*) FROM BookCategoryLink";
inline constexpr char countOrphanLinks[] =
    "SELECT count(*) FROM BookCategoryLink l "
    "WHERE NOT EXISTS (SELECT 1 FROM Books b WHERE b.BookID = l.BookID) "
    "OR NOT EXISTS (SELECT 1 FROM Category c WHERE c.CategoryID = l.CategoryKey)";
inline constexpr char linkCount[] =
    "SELECT count(*) FROM BookCategoryLink WHERE BookID = ? AND CategoryKey = ?";

inline constexpr char highestLinkedBookId[] = "SELECT max(BookID) FROM BookCategoryLink";
inline constexpr char highestCategoryId[] = "SELECT max(CategoryID) FROM Category";
inline constexpr char highestLinkedCategoryId[] = "SELECT max(CategoryKey) FROM BookCategoryLink";

inline constexpr char nextKey[] = "SELECT seq FROM sqlite_sequence WHERE name = ?";
inline constexpr char updateNextKey[] = "UPDATE sqlite_sequence SET seq = ? WHERE name = ?";
inline constexpr char insertNextKey[] = "INSERT INTO sqlite_sequence (seq, name) VALUES (?, ?)";

} // namespace legacy

} // namespace shelvio::sql
