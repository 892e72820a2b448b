#pragma once

#include "statement.h"

// Every SQL statement the editor sends, with "?" for each value. Values are
// always bound, never pasted into the text. Text is ordered with
// shelvio_sortkey() (case and accents set aside) and ties are broken by the
// exact text or the row's key, so equal names never interleave.
// An author's names as every author ordering reads them, the editor's tree
// and the reports alike: blanks at the ends and Null set aside.
#define SHELVIO_LAST_NAME "trim(ifnull(Author, ''))"
#define SHELVIO_FIRST_NAME "trim(ifnull(GA1, ''))"
// Every column of Books in its order, as the older format's files hold them.
#define SHELVIO_ALL_BOOK_COLUMNS                                                                                 \
    "BookID, Title, Author, YearPublished, Rating, DateRead, Comments, Cost, Category, WantToBuy, OwnBook, " \
    "Pages, ReadBook, GA1, GA2, GA3, GA4, GA5, GA6, GA7, GA8, GA9, GA10, GA11, GA12, GA13, GA14, GA15, "     \
    "GN1, GN2, GN3, GN4, GN5, GN6, GB1, GB2, GB3, GB4, GB5, GB6"

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
#define SHELVIO_BOOK_COLUMNS                                                                                 \
    "BookID, Title, GA2, Author, GA1, YearPublished, Pages, Cost, DateRead, Comments, Rating, WantToBuy, "   \
    "OwnBook, ReadBook, GB1"
inline constexpr char bookById[] = "SELECT " SHELVIO_BOOK_COLUMNS " FROM Books WHERE BookID = ?";

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

// Whether SQLite can read the file at all: a file that is no database fails
// here, where asking for its tables only finds none.
inline constexpr char countSchemaEntries[] = "SELECT count(*) FROM sqlite_master";

// A rollback journal and full sync keep the file whole on disk after each
// commit: the report viewer reads it and backup copies it as a file.
inline constexpr char journalModeDelete[] = "PRAGMA journal_mode = DELETE";
inline constexpr char synchronousFull[] = "PRAGMA synchronous = FULL";

// The three tables with their columns in their order, and their indexes.
// Yes/No columns hold 0 or 1; Cost holds an amount rounded to four decimals.
namespace schema {

#define SHELVIO_TEXT " VARCHAR(255), "
#define SHELVIO_YES_NO " BOOLEAN DEFAULT 0, "
inline constexpr char createBooks[] =
    "CREATE TABLE Books (BookID INTEGER PRIMARY KEY AUTOINCREMENT, Title" SHELVIO_TEXT "Author" SHELVIO_TEXT
    "YearPublished INTEGER, Rating INTEGER, DateRead" SHELVIO_TEXT "Comments TEXT, Cost REAL, "
    "Category" SHELVIO_TEXT "WantToBuy" SHELVIO_YES_NO "OwnBook" SHELVIO_YES_NO "Pages INTEGER, "
    "ReadBook" SHELVIO_YES_NO "GA1" SHELVIO_TEXT "GA2" SHELVIO_TEXT "GA3" SHELVIO_TEXT "GA4" SHELVIO_TEXT
    "GA5" SHELVIO_TEXT "GA6" SHELVIO_TEXT "GA7" SHELVIO_TEXT "GA8" SHELVIO_TEXT "GA9" SHELVIO_TEXT
    "GA10" SHELVIO_TEXT "GA11" SHELVIO_TEXT "GA12" SHELVIO_TEXT "GA13" SHELVIO_TEXT "GA14" SHELVIO_TEXT
    "GA15" SHELVIO_TEXT "GN1 INTEGER, GN2 INTEGER, GN3 INTEGER, GN4 INTEGER, GN5 INTEGER, GN6 INTEGER, "
    "GB1" SHELVIO_YES_NO "GB2" SHELVIO_YES_NO "GB3" SHELVIO_YES_NO "GB4" SHELVIO_YES_NO "GB5" SHELVIO_YES_NO
    "GB6 BOOLEAN DEFAULT 0)";
#undef SHELVIO_TEXT
#undef SHELVIO_YES_NO
inline constexpr char booksPrimaryKey[] = "CREATE UNIQUE INDEX Books_PrimaryKey ON Books (BookID)";
inline constexpr char booksBookId[] = "CREATE INDEX Books_BookID ON Books (BookID)";
inline constexpr char booksAuthorId[] = "CREATE INDEX Books_AuthorID ON Books (Author)";
inline constexpr char booksRatingId[] = "CREATE INDEX Books_RatingID ON Books (Rating)";
inline constexpr char createCategory[] =
    "CREATE TABLE Category (CategoryID INTEGER PRIMARY KEY AUTOINCREMENT, CategoryName VARCHAR(50))";
inline constexpr char categoryPrimaryKey[] =
    "CREATE UNIQUE INDEX Category_PrimaryKey ON Category (CategoryID)";
inline constexpr char categoryCategoryId[] = "CREATE INDEX Category_CategoryID ON Category (CategoryID)";
inline constexpr char createLinks[] =
    "CREATE TABLE BookCategoryLink (BookID INTEGER NOT NULL, CategoryKey INTEGER NOT NULL)";
inline constexpr char linksPrimaryKey[] =
    "CREATE UNIQUE INDEX BookCategoryLink_PrimaryKey ON BookCategoryLink (BookID, CategoryKey)";
inline constexpr char linksBookId[] = "CREATE INDEX BookCategoryLink_BookID ON BookCategoryLink (BookID)";
inline constexpr char linksCategoryKey[] =
    "CREATE INDEX BookCategoryLink_CategoryKey ON BookCategoryLink (CategoryKey)";

} // namespace schema

// What the reports read. Their statements are put together from these fixed
// pieces only; no value is ever part of the text.
namespace report {

// The columns of bookFromRow (bookrows.h), in its order.
inline constexpr char selectBooks[] =
    "SELECT BookID, Title, coalesce(nullif(GA2, ''), Title, ''), " SHELVIO_LAST_NAME ", " SHELVIO_FIRST_NAME
    ", YearPublished, Pages, Cost, DateRead, Comments, Rating, "
    "WantToBuy, OwnBook, ReadBook, GB1 FROM Books";

inline constexpr char everyBook[] = "";

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

inline constexpr SqlText createIndexes[] = {
    "CREATE INDEX IF NOT EXISTS Probe_Title ON Books (GA2)",
    "CREATE INDEX IF NOT EXISTS Probe_Author ON Books (Author, GA1, GA2)",
    "CREATE INDEX IF NOT EXISTS Probe_CategoryName ON Category (CategoryName)",
};
inline constexpr SqlText dropIndexes[] = {
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
// Finding books by their words. The index is SQLite's full-text index
// (FTS5) over the text columns of Books; it keeps no copy of the text but
// reads it from Books, and triggers of plain SQL keep it current, so that
// every SQLite tool that writes Books keeps it current too (none of the
// program's own functions is needed). The tokenizer sets letter case and
// Latin accents aside. BookSearchState records the form of the index and how
// many books it holds: a count that differs from Books shows rows changed
// behind the triggers' back (INSERT OR REPLACE deletes without firing them),
// and the index is then built again.
namespace search {

#define SHELVIO_SEARCH_COLUMNS "Title, Author, GA1, Comments"
#define SHELVIO_SEARCH_TOKENIZER "tokenize = 'unicode61 remove_diacritics 2'"
#define SHELVIO_SEARCH_ADD_NEW                                                                               \
    "INSERT INTO BookSearch (rowid, " SHELVIO_SEARCH_COLUMNS ") "                                            \
    "VALUES (new.BookID, new.Title, new.Author, new.GA1, new.Comments); "
#define SHELVIO_SEARCH_REMOVE_OLD                                                                            \
    "INSERT INTO BookSearch (BookSearch, rowid, " SHELVIO_SEARCH_COLUMNS ") "                                \
    "VALUES ('delete', old.BookID, old.Title, old.Author, old.GA1, old.Comments); "

// Raised whenever the index or its triggers change form.
inline constexpr int indexVersion = 1;

inline constexpr char createIndex[] =
    "CREATE VIRTUAL TABLE BookSearch USING fts5(" SHELVIO_SEARCH_COLUMNS
    ", content = 'Books', content_rowid = 'BookID', " SHELVIO_SEARCH_TOKENIZER ")";
inline constexpr char createState[] =
    "CREATE TABLE BookSearchState (Version INTEGER NOT NULL, IndexedBooks INTEGER NOT NULL)";
inline constexpr char createInsertTrigger[] =
    "CREATE TRIGGER BookSearch_Insert AFTER INSERT ON Books BEGIN " SHELVIO_SEARCH_ADD_NEW
    "UPDATE BookSearchState SET IndexedBooks = IndexedBooks + 1; END";
inline constexpr char createDeleteTrigger[] =
    "CREATE TRIGGER BookSearch_Delete AFTER DELETE ON Books BEGIN " SHELVIO_SEARCH_REMOVE_OLD
    "UPDATE BookSearchState SET IndexedBooks = IndexedBooks - 1; END";
inline constexpr char createUpdateTrigger[] =
    "CREATE TRIGGER BookSearch_Update AFTER UPDATE OF BookID, Title, Author, GA1, Comments ON Books "
    "BEGIN " SHELVIO_SEARCH_REMOVE_OLD SHELVIO_SEARCH_ADD_NEW "END";
// Lets a word found in a category name reach its books without reading
// every link row.
inline constexpr char createCategoryBooksIndex[] =
    "CREATE INDEX BookSearch_CategoryBooks ON BookCategoryLink (CategoryKey, BookID)";
inline constexpr char fillIndex[] = "INSERT INTO BookSearch (BookSearch) VALUES ('rebuild')";
inline constexpr char fillState[] =
    "INSERT INTO BookSearchState (Version, IndexedBooks) SELECT ?, count(*) FROM Books";

// Whatever there is of an index, gone.
inline constexpr SqlText dropIndex[] = {
    "DROP TRIGGER IF EXISTS BookSearch_Insert", "DROP TRIGGER IF EXISTS BookSearch_Delete",
    "DROP TRIGGER IF EXISTS BookSearch_Update", "DROP INDEX IF EXISTS BookSearch_CategoryBooks",
    "DROP TABLE IF EXISTS BookSearch",          "DROP TABLE IF EXISTS BookSearchState"};

// 6 when the index, its state, its three triggers and the index of the
// links are all there.
inline constexpr char indexParts[] =
    "SELECT count(*) FROM sqlite_master WHERE (type = 'table' AND name IN ('BookSearch', "
    "'BookSearchState')) OR (type = 'trigger' AND name IN ('BookSearch_Insert', 'BookSearch_Delete', "
    "'BookSearch_Update')) OR (type = 'index' AND name = 'BookSearch_CategoryBooks')";
// 1 when the index is of this form (the value bound) and holds every book.
inline constexpr char indexHoldsEveryBook[] =
    "SELECT count(*) = 1 AND max(Version) = ? AND max(IndexedBooks) = (SELECT count(*) FROM Books) "
    "FROM BookSearchState";

// A catalogue open read-only whose file holds no current index is searched
// through a copy in the connection's own temporary database, which the
// name BookSearch then means.
inline constexpr char createSnapshot[] =
    "CREATE VIRTUAL TABLE temp.BookSearch USING fts5(" SHELVIO_SEARCH_COLUMNS ", " SHELVIO_SEARCH_TOKENIZER
    ")";
inline constexpr char fillSnapshot[] = "INSERT INTO temp.BookSearch (rowid, " SHELVIO_SEARCH_COLUMNS
                                       ") SELECT BookID, " SHELVIO_SEARCH_COLUMNS " FROM main.Books";
inline constexpr char dropSnapshot[] = "DROP TABLE IF EXISTS temp.BookSearch";

// Reads nothing, but has the connection load the index's definition: until
// it has, a statement that fires a trigger must read it from the file, and
// while another program holds the file locked it would fail with an
// obscure message instead of "database is locked".
inline constexpr char loadIndex[] = "SELECT rowid FROM BookSearch LIMIT 0";

// The numbers of the books whose text holds the match expression (bound),
// ascending.
inline constexpr char booksMatching[] =
    "SELECT rowid FROM BookSearch WHERE BookSearch MATCH ? ORDER BY rowid";
inline constexpr char categories[] = "SELECT CategoryID, CategoryName FROM Category";
// A page of found books and their categories, by numbers bound as one JSON
// array ("[4,17,9]"): one statement for the page instead of one per book.
inline constexpr char booksByIds[] =
    "SELECT " SHELVIO_BOOK_COLUMNS " FROM Books WHERE BookID IN (SELECT value FROM json_each(?))";
inline constexpr char categoriesOfBooks[] =
    "SELECT l.BookID, c.CategoryName FROM BookCategoryLink l JOIN Category c ON c.CategoryID = l.CategoryKey "
    "WHERE l.BookID IN (SELECT value FROM json_each(?)) ORDER BY l.BookID, c.CategoryID";
// The books of the categories whose numbers are bound as one JSON array.
inline constexpr char booksInCategories[] =
    "SELECT l.BookID FROM BookCategoryLink l JOIN Books b ON b.BookID = l.BookID "
    "WHERE l.CategoryKey IN (SELECT value FROM json_each(?))";

} // namespace search

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

// Each table's rows with every column, written and read back by key.
inline constexpr char insertBookRow[] =
    "INSERT INTO Books (" SHELVIO_ALL_BOOK_COLUMNS ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
    "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
inline constexpr char bookRowByKey[] = "SELECT " SHELVIO_ALL_BOOK_COLUMNS " FROM Books WHERE BookID = ?";
inline constexpr char insertCategoryRow[] = "INSERT INTO Category (CategoryID, CategoryName) VALUES (?, ?)";
inline constexpr char categoryRowByKey[] =
    "SELECT CategoryID, CategoryName FROM Category WHERE CategoryID = ?";
inline constexpr char insertLinkRow[] = "INSERT INTO BookCategoryLink (BookID, CategoryKey) VALUES (?, ?)";

inline constexpr char nextKey[] = "SELECT seq FROM sqlite_sequence WHERE name = ?";
inline constexpr char updateNextKey[] = "UPDATE sqlite_sequence SET seq = ? WHERE name = ?";
inline constexpr char insertNextKey[] = "INSERT INTO sqlite_sequence (seq, name) VALUES (?, ?)";

} // namespace legacy

} // namespace shelvio::sql
