#pragma once

#include "result.h"

#include <QString>

#include <memory>
#include <vector>

namespace shelvio {

// The rows of a tree ordering as plain strings, grouped where the ordering
// groups them: for a minimal model to show.
struct ProbeRows {
    std::vector<QString> texts;
    std::vector<qint32> groupOfRow; // empty in the title ordering
    std::vector<QString> groups;
};

// What reading the tree's rows in order costs SQLite at best, for the
// benchmark to print beside the program's own figures: bare reads of the
// same rows, ordered by SQLite over indexes made for the purpose, and a bare
// save. The program cannot use such indexes, since it orders with case and
// accents set aside. Only for a catalogue the benchmark made: the indexes go
// into the file while the probe lives.
class BenchProbe {
public:
    explicit BenchProbe(const QString& path);
    ~BenchProbe();
    BenchProbe(const BenchProbe&) = delete;
    BenchProbe& operator=(const BenchProbe&) = delete;

    // Whether the file is open and its indexes made.
    const Status& status() const { return m_status; }

    // BookID and GA2 ordered by GA2.
    Result<ProbeRows> readTitles();
    // BookID, GA2, Author and GA1 ordered by Author, GA1, GA2.
    Result<ProbeRows> readAuthors();
    // A row for each link, ordered by category name and GA2.
    Result<ProbeRows> readCategories();
    // Every column a report reads of every book, in table order, as bare
    // values: the least that reading a report's rows can cost. Returns the
    // number of rows.
    Result<qint64> readReportColumns();
    // Changes one book's title and rewrites its three links, in one
    // transaction.
    Status saveBookWithLinks(qint64 bookId, const QString& title);

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
    Status m_status;
};

} // namespace shelvio
