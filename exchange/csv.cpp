#include "csv.h"

using namespace Qt::StringLiterals;

namespace shelvio::exchange {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Reads the text front to back, one field at a time.
class CsvReader {
public:
    CsvReader(QStringView text, QChar separator)
        : m_text(text)
        , m_separator(separator)
    {
    }

    Result<QList<CsvRecord>> records()
    {
        QList<CsvRecord> records;
        while (m_at < m_text.size()) {
            CsvRecord record{m_line, {}};
            bool recordEnds = false;
            while (!recordEnds) {
                Result<QString> field = readField();
                if (!field)
                    return field.error();
                record.fields << *field;
                recordEnds = m_at >= m_text.size() || isLineBreak(m_text[m_at]);
                if (!recordEnds)
                    ++m_at; // past the separator
            }
            skipLineBreak();
            if (record.fields.size() > 1 || !record.fields.first().isEmpty())
                records << record;
        }
        return records;
    }

private:
    Result<QString> readField()
    {
        if (m_at < m_text.size() && m_text[m_at] == u'"')
            return readQuoted();
        const qsizetype start = m_at;
        while (m_at < m_text.size() && m_text[m_at] != m_separator && !isLineBreak(m_text[m_at]))
            ++m_at;
        return m_text.mid(start, m_at - start).toString();
    }

    Result<QString> readQuoted()
    {
        const qint64 openedOn = m_line;
        ++m_at;
        QString field;
        for (;;) {
            const qsizetype quote = m_text.indexOf(u'"', m_at);
            if (quote < 0) {
                return Error::failed(
                    u"Line %1: a field opens with a double quote that is never closed."_s.arg(openedOn));
            }
            const QStringView part = m_text.mid(m_at, quote - m_at);
            m_line += countLines(part);
            field += part;
            m_at = quote + 1;
            if (m_at < m_text.size() && m_text[m_at] == u'"') {
                field += u'"';
                ++m_at;
                continue;
            }
            break;
        }
        // Text after the closing quote is not RFC 4180; it is kept as it stands.
        const qsizetype start = m_at;
        while (m_at < m_text.size() && m_text[m_at] != m_separator && !isLineBreak(m_text[m_at]))
            ++m_at;
        field += m_text.mid(start, m_at - start);
        return field;
    }

    // CR LF, LF or CR alone.
    void skipLineBreak()
    {
        if (m_at < m_text.size() && m_text[m_at] == u'\r')
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == u'\n')
            ++m_at;
        ++m_line;
    }

    static qint64 countLines(QStringView text)
    {
        qint64 lines = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
                ++lines;
        }
        return lines;
    }

    QStringView m_text;
    QChar m_separator;
    qsizetype m_at = 0;
    qint64 m_line = 1;
};

} // namespace

Result<QList<CsvRecord>> parseCsv(QStringView text, QChar separator)
{
    return CsvReader(text, separator).records();
}

QChar guessSeparator(QStringView text)
{
    qsizetype tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && isLineBreak(c))
            break;
        else if (!quoted && c == u'\t')
            ++tabs;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u',')
            ++commas;
    }
    if (tabs > 0 && tabs >= semicolons && tabs >= commas)
        return u'\t';
    if (semicolons > commas)
        return u';';
    return u',';
}

namespace {

bool mustQuote(QStringView text, QChar separator)
{
    for (QChar c : text) {
        if (c == separator || c == u'"' || c == u'\n' || c == u'\r')
            return true;
    }
    return false;
}

void appendField(QString* out, QStringView text, QChar separator)
{
    if (!mustQuote(text, separator)) {
        out->append(text);
        return;
    }
    out->append(u'"');
    for (QChar c : text) {
        if (c == u'"')
            out->append(u'"');
        out->append(c);
    }
    out->append(u'"');
}

} // namespace

void appendCsvLine(QString* out, const QStringList& fields, QChar separator)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out->append(separator);
        appendField(out, fields[i], separator);
    }
    out->append(u"\r\n");
}

QString csvLine(const QStringList& fields, QChar separator)
{
    QString line;
    appendCsvLine(&line, fields, separator);
    return line;
}

} // namespace shelvio::exchange
