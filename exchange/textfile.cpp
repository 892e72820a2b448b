#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <langinfo.h>

using namespace Qt::StringLiterals;

namespace shelvio::exchange {

namespace {

std::optional<QString> decodeStrictly(const QByteArray& bytes, QStringDecoder decoder)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> decodeAny(const QByteArray& bytes, const QByteArray& fallbackEncoding)
{
    if (const auto marked = QStringConverter::encodingForData(bytes))
        return decodeStrictly(bytes, QStringDecoder(*marked));
    if (auto utf8 =
            decodeStrictly(bytes, QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)))
        return utf8;
    return decodeStrictly(bytes,
                          QStringDecoder(fallbackEncoding.constData(), QStringConverter::Flag::Stateless));
}

} // namespace

QByteArray localeEncoding()
{
    const char* name = nl_langinfo(CODESET);
    return name && *name ? QByteArray(name) : QByteArray("UTF-8");
}

Result<QString> decodeText(const QByteArray& bytes, const QByteArray& fallbackEncoding)
{
    if (bytes.isEmpty())
        return Error::failed(u"The file is empty (0 bytes)."_s);
    // NUL bytes belong to no text file but one in UTF-16 or UTF-32.
    if (!QStringConverter::encodingForData(bytes) && bytes.contains('\0'))
        return Error::failed(u"The file is not a text file: it holds binary data."_s);
    const auto text = decodeAny(bytes, fallbackEncoding);
    if (!text) {
        return Error::failed(u"The file is not text in UTF-8, nor in this system's encoding (%1)."_s.arg(
            QString::fromLatin1(fallbackEncoding)));
    }
    if (text->contains(QChar(0)))
        return Error::failed(u"The file is not a text file: it holds binary data."_s);
    return *text;
}

Result<QByteArray> readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::failed(
            u"The file %1 cannot be read: %2."_s.arg(QDir::toNativeSeparators(path), file.errorString()));
    return file.readAll();
}

Result<QString> readTextFile(const QString& path, const QByteArray& fallbackEncoding)
{
    const Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return bytes.error();
    return decodeText(*bytes, fallbackEncoding);
}

} // namespace shelvio::exchange
