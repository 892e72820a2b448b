#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

// Read-only access to a Jet (Access) database file, as the older program
// wrote its catalogue, through mdbtools' libmdb. Only the column types a
// catalogue uses are decoded; the file is never written.
namespace shelvio {

enum class JetType {
    Integer,  // Byte, Integer or Long Integer: read as qint64
    Currency, // read as qint64 ten-thousandths, exactly as stored
    YesNo,    // read as bool; never Null
    Text,     // read as QString
    Memo,     // read as QString, all of it
    Other,    // not read
};

struct JetColumn {
    QString name;
    JetType type = JetType::Other;
};

struct JetTable {
    QString name;
    QList<JetColumn> columns; // in stored order
    qint64 rowCount = 0;      // as the table definition records it
    qint64 autoNumber = 0;    // the table's AutoNumber counter, 0 when it has none
};

class JetFile {
public:
    JetFile();
    ~JetFile();
    JetFile(const JetFile&) = delete;
    JetFile& operator=(const JetFile&) = delete;

    // Opens the file read-only. On failure error() says why.
    bool open(const QString& path);
    QString error() const { return m_error; }

    // The user tables of the file, by their stored names.
    QStringList tableNames() const;
    // The table whose name matches without regard to case, or nothing.
    std::optional<JetTable> table(const QString& name);

    // Calls row() with the values of the named columns (matched without regard
    // to case) for every live row of the table, in stored order, until row()
    // returns false. A Null is a null QVariant; a zero-length text is an empty,
    // non-null QString. False with error() set when the file cannot be read.
    bool readRows(const QString& tableName, const QStringList& columns,
                  const std::function<bool(const QVariantList& values)>& row);

    // A readable name for a column type, for messages.
    static QString typeName(JetType type);

private:
    struct Handle;
    bool fail(const QString& message);

    std::unique_ptr<Handle> m_handle;
    QString m_error;
};

} // namespace shelvio
