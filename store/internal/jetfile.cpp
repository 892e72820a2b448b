#include "jetfile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>

#include <mdbtools.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

// The low bits of a row's entry in its page's offset table; the high ones are
// flags (deleted, moved elsewhere).
constexpr int rowOffsetMask = 0x1fff;

// A memo value in a row is a 12-byte header: the length in the low three
// bytes and the kind of storage in the fourth, then the page and row of the
// first long-value record when the text lies outside the row.
constexpr int memoHeaderSize = 12;
constexpr quint32 memoInRow = 0x80;
constexpr quint32 memoOnOnePage = 0x40;
constexpr quint32 memoPageChain = 0x00;

JetType typeOf(const MdbColumn* column)
{
    switch (column->col_type) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return JetType::Integer;
    case MDB_MONEY:
        return JetType::Currency;
    case MDB_BOOL:
        return JetType::YesNo;
    case MDB_TEXT:
        return JetType::Text;
    case MDB_MEMO:
        return JetType::Memo;
    default:
        return JetType::Other;
    }
}

MdbColumn* columnAt(const MdbTableDef* table, unsigned index)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
}

struct TableDefDeleter {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TableDef = std::unique_ptr<MdbTableDef, TableDefDeleter>;

// libmdb walks a table's pages by its usage map without looking at the map
// first, and a damaged file can leave it empty. The shortest map is a type
// byte and a first page number.
bool hasUsageMap(const MdbTableDef* table)
{
    constexpr size_t shortestUsageMap = 5;
    return table->usage_map && table->map_sz >= shortestUsageMap;
}

// The table of the file's objects always has its definition on page 2;
// libmdb reads it to list the tables.
bool objectTableReadable(MdbHandle* mdb)
{
    constexpr unsigned long objectTablePage = 2;
    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = objectTablePage;
    const TableDef table(mdb_read_table(&entry));
    return table && hasUsageMap(table.get());
}

} // namespace

struct JetFile::Handle {
    MdbHandle* mdb = nullptr;
    // Jet 3 files keep text in the code page of the machine that made them.
    QStringDecoder codePage;

    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }

    MdbCatalogEntry* findTable(const QString& name) const;
    TableDef readTable(MdbCatalogEntry* entry) const;
    qint64 autoNumberCounter(const MdbCatalogEntry* entry) const;
    const uchar* fieldBytes(const MdbField& field, int size) const;
    std::optional<QVariant> decode(const MdbColumn* column, const MdbField& field);
    std::optional<QByteArray> memoBytes(const MdbField& field) const;
    QString decodeText(const uchar* bytes, qsizetype size);
};

MdbCatalogEntry* JetFile::Handle::findTable(const QString& name) const
{
    for (guint i = 0; mdb->catalog && i < mdb->catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry) &&
            QString::fromUtf8(entry->object_name).compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return nullptr;
}

TableDef JetFile::Handle::readTable(MdbCatalogEntry* entry) const
{
    TableDef table(mdb_read_table(entry));
    if (table && (!hasUsageMap(table.get()) || !mdb_read_columns(table.get())))
        table.reset();
    return table;
}

// The counter sits in the table definition page right after the row count;
// libmdb does not read it, so it is taken from the page itself.
qint64 JetFile::Handle::autoNumberCounter(const MdbCatalogEntry* entry) const
{
    const int offset = mdb->fmt->tab_num_rows_offset + 4;
    if (mdb_read_pg(mdb, entry->table_pg) != mdb->fmt->pg_size || mdb->pg_buf[0] != MDB_PAGE_TABLE)
        return 0;
    return qFromLittleEndian<qint32>(mdb->pg_buf + offset);
}

const uchar* JetFile::Handle::fieldBytes(const MdbField& field, int size) const
{
    if (size < 0 || field.siz < size || field.start < 0 || field.start + size > mdb->fmt->pg_size)
        return nullptr;
    return mdb->pg_buf + field.start;
}

std::optional<QByteArray> JetFile::Handle::memoBytes(const MdbField& field) const
{
    const uchar* head = fieldBytes(field, memoHeaderSize);
    if (!head)
        return std::nullopt;
    const quint32 word = qFromLittleEndian<quint32>(head);
    const qsizetype length = word & 0x00ffffff;
    const quint32 kind = word >> 24;
    qint32 pageRow = qFromLittleEndian<qint32>(head + 4);
    void* page = nullptr;
    int offset = 0;
    size_t size = 0;
    if (kind == memoInRow) {
        const uchar* text = fieldBytes(field, int(memoHeaderSize + length));
        if (!text)
            return std::nullopt;
        return QByteArray(reinterpret_cast<const char*>(text + memoHeaderSize), length);
    }
    if (kind == memoOnOnePage) {
        // The record is read into libmdb's second page buffer; the row's own
        // page stays where it was.
        if (mdb_find_pg_row(mdb, pageRow, &page, &offset, &size) != 0 || qsizetype(size) < length)
            return std::nullopt;
        return QByteArray(static_cast<const char*>(page) + offset, length);
    }
    if (kind != memoPageChain)
        return std::nullopt;
    // Each record of the chain starts with the page and row of the next one.
    QByteArray text;
    text.reserve(length);
    while (text.size() < length) {
        if (pageRow == 0 || mdb_find_pg_row(mdb, pageRow, &page, &offset, &size) != 0 || size <= 4)
            return std::nullopt;
        const char* record = static_cast<const char*>(page) + offset;
        text.append(record + 4, qMin(qsizetype(size) - 4, length - text.size()));
        pageRow = qFromLittleEndian<qint32>(record);
    }
    return text;
}

// Jet 4 keeps text as UTF-16LE, or "compressed": after the mark FF FE, runs
// of one byte per character (U+0001 to U+00FF) and of UTF-16LE alternate,
// each zero byte switching between the two.
QString JetFile::Handle::decodeText(const uchar* bytes, qsizetype size)
{
    if (mdb->f->jet_version == MDB_VER_JET3) {
        codePage.resetState();
        return codePage.decode(QByteArrayView(bytes, size));
    }
    QString text;
    text.reserve(size);
    if (size >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe) {
        bool oneByte = true;
        for (qsizetype i = 2; i < size;) {
            if (bytes[i] == 0) {
                oneByte = !oneByte;
                ++i;
            } else if (oneByte) {
                text += QChar(char16_t(bytes[i++]));
            } else if (i + 1 < size) {
                text += QChar(qFromLittleEndian<quint16>(bytes + i));
                i += 2;
            } else {
                break;
            }
        }
        return text;
    }
    for (qsizetype i = 0; i + 1 < size; i += 2)
        text += QChar(qFromLittleEndian<quint16>(bytes + i));
    return text;
}

// The value of one field of the row that libmdb holds in its page buffer,
// or nothing when the bytes do not make sense.
std::optional<QVariant> JetFile::Handle::decode(const MdbColumn* column, const MdbField& field)
{
    const JetType type = typeOf(column);
    // A Yes/No value is the field's bit in the null mask itself.
    if (type == JetType::YesNo)
        return QVariant(!field.is_null);
    if (field.is_null)
        return QVariant();
    switch (type) {
    case JetType::Integer: {
        const int size = column->col_type == MDB_BYTE ? 1 : column->col_type == MDB_INT ? 2 : 4;
        const uchar* bytes = fieldBytes(field, size);
        if (!bytes)
            return std::nullopt;
        if (size == 1)
            return QVariant(qint64(bytes[0]));
        return QVariant(size == 2 ? qint64(qFromLittleEndian<qint16>(bytes))
                                  : qint64(qFromLittleEndian<qint32>(bytes)));
    }
    case JetType::Currency: {
        const uchar* bytes = fieldBytes(field, 8);
        return bytes ? std::optional<QVariant>(qFromLittleEndian<qint64>(bytes)) : std::nullopt;
    }
    case JetType::Text: {
        const uchar* bytes = fieldBytes(field, field.siz);
        return bytes ? std::optional<QVariant>(decodeText(bytes, field.siz)) : std::nullopt;
    }
    case JetType::Memo: {
        if (field.siz == 0)
            return QVariant(QString(u""_s));
        const auto bytes = memoBytes(field);
        if (!bytes)
            return std::nullopt;
        return QVariant(decodeText(reinterpret_cast<const uchar*>(bytes->constData()), bytes->size()));
    }
    case JetType::YesNo:
    case JetType::Other:
        break;
    }
    return std::nullopt;
}

JetFile::JetFile() = default;

JetFile::~JetFile() = default;

bool JetFile::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool JetFile::open(const QString& path)
{
    m_handle.reset();
    m_error.clear();
    // libmdb looks for a file that is not there along $MDBPATH: only ever give
    // it the absolute path of a file that exists.
    const QFileInfo info(path);
    if (!info.isFile())
        return fail(u"The file does not exist."_s);
    MdbHandle* mdb = mdb_open(QFile::encodeName(info.absoluteFilePath()).constData(), MDB_NOFLAGS);
    if (!mdb)
        return fail(u"It cannot be read as a Jet database."_s);
    m_handle = std::make_unique<Handle>();
    m_handle->mdb = mdb;
    const auto codePage = u"windows-%1"_s.arg(mdb->f->code_page).toLatin1();
    m_handle->codePage = QStringDecoder(codePage.constData());
    if (!m_handle->codePage.isValid())
        m_handle->codePage = QStringDecoder("windows-1252");
    if (!objectTableReadable(mdb) || !mdb_read_catalog(mdb, MDB_TABLE)) {
        m_handle.reset();
        return fail(u"Its list of tables cannot be read."_s);
    }
    return true;
}

QStringList JetFile::tableNames() const
{
    QStringList names;
    if (!m_handle)
        return names;
    const MdbHandle* mdb = m_handle->mdb;
    for (guint i = 0; mdb->catalog && i < mdb->catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

std::optional<JetTable> JetFile::table(const QString& name)
{
    m_error.clear();
    MdbCatalogEntry* entry = m_handle ? m_handle->findTable(name) : nullptr;
    if (!entry)
        return std::nullopt;
    const TableDef definition = m_handle->readTable(entry);
    if (!definition) {
        fail(u"The definition of the table %1 cannot be read."_s.arg(name));
        return std::nullopt;
    }
    JetTable table;
    table.name = QString::fromUtf8(definition->name);
    table.rowCount = definition->num_rows;
    bool counted = false;
    for (unsigned i = 0; i < definition->num_cols; ++i) {
        const MdbColumn* column = columnAt(definition.get(), i);
        table.columns << JetColumn{QString::fromUtf8(column->name), typeOf(column)};
        counted = counted || column->is_long_auto;
    }
    if (counted)
        table.autoNumber = m_handle->autoNumberCounter(entry);
    return table;
}

bool JetFile::readRows(const QString& tableName, const QStringList& columns,
                       const std::function<bool(const QVariantList&)>& row)
{
    m_error.clear();
    MdbCatalogEntry* entry = m_handle ? m_handle->findTable(tableName) : nullptr;
    if (!entry)
        return fail(u"It has no table %1."_s.arg(tableName));
    const TableDef definition = m_handle->readTable(entry);
    if (!definition)
        return fail(u"The definition of the table %1 cannot be read."_s.arg(tableName));
    std::vector<unsigned> wanted;
    for (const QString& name : columns) {
        unsigned i = 0;
        while (i < definition->num_cols &&
               QString::fromUtf8(columnAt(definition.get(), i)->name).compare(name, Qt::CaseInsensitive) != 0)
            ++i;
        if (i == definition->num_cols)
            return fail(u"The table %1 has no column %2."_s.arg(tableName, name));
        wanted.push_back(i);
    }

    MdbHandle* mdb = m_handle->mdb;
    std::vector<MdbField> fields(definition->num_cols);
    QVariantList values;
    qint64 rowNumber = 0;
    mdb_rewind_table(definition.get());
    // mdb_fetch_row finds the next live row and leaves its page in the page
    // buffer; the row is then split again here, because libmdb's own values
    // lose the difference between Null and a zero-length text.
    while (mdb_fetch_row(definition.get())) {
        ++rowNumber;
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, int(definition->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(definition.get(), start & rowOffsetMask, size, fields.data()) < 0)
            return fail(u"Row %1 of the table %2 cannot be read."_s.arg(rowNumber).arg(tableName));
        values.clear();
        for (unsigned i : wanted) {
            const auto value = m_handle->decode(columnAt(definition.get(), i), fields[i]);
            if (!value) {
                return fail(
                    u"The %1 of row %2 of the table %3 cannot be read."_s.arg(columns.at(values.size()))
                        .arg(rowNumber)
                        .arg(tableName));
            }
            values << *value;
        }
        if (!row(values))
            break;
    }
    return true;
}

QString JetFile::typeName(JetType type)
{
    switch (type) {
    case JetType::Integer:
        return u"Long Integer"_s;
    case JetType::Currency:
        return u"Currency"_s;
    case JetType::YesNo:
        return u"Yes/No"_s;
    case JetType::Text:
        return u"Text"_s;
    case JetType::Memo:
        return u"Memo"_s;
    case JetType::Other:
        break;
    }
    return u"another type"_s;
}

} // namespace shelvio
