#include "tellico.h"

#include <QXmlStreamReader>

#include <zip.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace shelvio::exchange {

namespace {

const QByteArray zipMagic("PK\x03\x04", 4);
// No collection file comes near this; a larger member is a damaged or
// hostile archive.
constexpr zip_uint64_t largestXml = zip_uint64_t(1) << 30;

struct ZipDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

Error damagedArchive(const QString& why)
{
    return Error::failed(
        u"The file is not a readable Tellico collection: the zip archive is damaged (%1)."_s.arg(why));
}

Result<QByteArray> unzipCollection(const QByteArray& bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    std::unique_ptr<zip_t, ZipDiscard> archive(
        source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr);
    if (!archive) {
        const QString why = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        if (source)
            zip_source_free(source);
        return damagedArchive(why);
    }
    zip_error_fini(&error);
    const zip_int64_t index = zip_name_locate(archive.get(), "tellico.xml", 0);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(archive.get(), zip_uint64_t(index), 0, &stat) != 0)
        return Error::failed(
            u"The file is a zip archive but not a Tellico collection: it holds no tellico.xml."_s);
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > largestXml)
        return damagedArchive(u"tellico.xml has no believable size"_s);
    std::unique_ptr<zip_file_t, ZipFileClose> file(zip_fopen_index(archive.get(), zip_uint64_t(index), 0));
    if (!file)
        return damagedArchive(QString::fromLocal8Bit(zip_strerror(archive.get())));
    QByteArray xml(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_fread(file.get(), xml.data(), stat.size);
    if (read < 0 || zip_uint64_t(read) != stat.size)
        return damagedArchive(QString::fromLocal8Bit(zip_file_strerror(file.get())));
    return xml;
}

// Reads one <entry> whose start the reader stands on.
class EntryReader {
public:
    explicit EntryReader(QXmlStreamReader& xml)
        : m_xml(xml)
    {
    }

    ImportRecord read()
    {
        m_record.line = m_xml.lineNumber();
        while (m_xml.readNextStartElement())
            readField(m_xml.name().toString());
        return m_record;
    }

private:
    void readField(const QString& name)
    {
        if (name == u"authors"_s || name == u"genres"_s || name == u"keywords"_s) {
            readList(name);
            return;
        }
        const QString text = m_xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        if (name == u"title"_s) {
            m_record.title = text;
        } else if (name == u"pub_year"_s || name == u"year"_s) {
            m_record.yearPublished = text;
        } else if (name == u"pages"_s) {
            m_record.pages = text;
        } else if (name == u"pur_price"_s) {
            m_record.cost = text;
        } else if (name == u"rating"_s) {
            if (const auto rating = ratingFromStars(text))
                m_record.rating = *rating;
            else
                m_record.notes << u"the rating \"%1\" is not 1 to 5 stars; the book is stored without "
                                  u"one."_s.arg(text);
        } else if (name == u"read"_s) {
            m_record.readBook = text == u"true"_s;
        } else if (name == u"loaned"_s) {
            m_record.ownBook = text == u"true"_s;
        } else if (name == u"comments"_s) {
            m_record.comments = text;
        }
    }

    void readList(const QString& name)
    {
        QStringList values;
        while (m_xml.readNextStartElement())
            values << m_xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        if (name == u"authors"_s && !values.isEmpty()) {
            const PersonName author = splitAuthorName(values.first());
            m_record.lastName = author.last;
            m_record.firstName = author.first;
        } else if (name != u"authors"_s) {
            for (const QString& value : values) {
                if (!m_record.categories.contains(value))
                    m_record.categories << value;
            }
        }
    }

    QXmlStreamReader& m_xml;
    ImportRecord m_record;
};

// Tellico's kinds of collection that hold books: 2 books, 5 bibliography.
bool holdsBooks(const QXmlStreamReader& xml)
{
    const QStringView type = xml.attributes().value(u"type"_s);
    return type == u"2"_s || type == u"5"_s;
}

Result<QList<ImportRecord>> readCollectionXml(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != u"tellico"_s) {
        if (xml.hasError())
            return Error::failed(
                u"The Tellico collection cannot be read: %1 (line %2 of its XML)."_s.arg(xml.errorString())
                    .arg(xml.lineNumber()));
        return Error::failed(u"The file is XML but not a Tellico collection."_s);
    }
    QList<ImportRecord> records;
    bool sawCollection = false;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"collection"_s) {
            xml.skipCurrentElement();
            continue;
        }
        if (!holdsBooks(xml))
            return Error::failed(u"The Tellico file holds a collection of another kind, not of books."_s);
        sawCollection = true;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"entry"_s)
                records << EntryReader(xml).read();
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return Error::failed(
            u"The Tellico collection cannot be read: %1 (line %2 of its XML)."_s.arg(xml.errorString())
                .arg(xml.lineNumber()));
    if (!sawCollection)
        return Error::failed(u"The Tellico file holds no collection."_s);
    return records;
}

bool looksLikeXml(const QByteArray& bytes)
{
    const QByteArray start = bytes.left(256).trimmed();
    return start.startsWith("<?xml") || start.startsWith("\xEF\xBB\xBF<?xml") || start.startsWith("<tellico");
}

} // namespace

bool looksLikeTellico(const QByteArray& bytes)
{
    return bytes.startsWith(zipMagic) || looksLikeXml(bytes);
}

Result<QList<ImportRecord>> readTellico(const QByteArray& bytes)
{
    if (looksLikeXml(bytes))
        return readCollectionXml(bytes);
    const Result<QByteArray> xml = unzipCollection(bytes);
    if (!xml)
        return xml.error();
    return readCollectionXml(*xml);
}

} // namespace shelvio::exchange
