#include "legacyconversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The first of "<stem><suffix>", "<stem> 2<suffix>", ... that names no file
// in the folder.
QString unusedName(const QDir& folder, const QString& stem, const QString& suffix)
{
    QString name = folder.filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = folder.filePath(u"%1 %2%3"_s.arg(stem).arg(n).arg(suffix));
    return name;
}

// A second name for the original file, so that it stays as it is when the
// new catalogue takes its name. A hard link keeps the very same file; where
// the file system has none, a copy does.
bool keepOriginal(const QString& original, const QString& kept, QString* error)
{
    std::error_code code;
    std::filesystem::create_hard_link(nativePath(original), nativePath(kept), code);
    if (!code)
        return true;
    QFile source(original);
    if (source.copy(kept) && QFileInfo(kept).size() == QFileInfo(original).size())
        return true;
    *error = source.errorString();
    QFile::remove(kept);
    return false;
}

} // namespace

Result<LegacyConversion> migrateJetCatalogue(const QString& catalogPath)
{
    const QFileInfo catalog(catalogPath);
    const QDir folder = catalog.absoluteDir();
    const QString converted = unusedName(folder, catalog.fileName(), u".converting"_s);
    Result<LegacyConversion> result = convertJetCatalogue(catalog.absoluteFilePath(), converted);
    if (!result)
        return result;

    const QString suffix = catalog.suffix().isEmpty() ? QString() : u'.' + catalog.suffix();
    const QString kept = unusedName(folder, catalog.completeBaseName() + u" (old format)"_s, suffix);
    QString error;
    if (!keepOriginal(catalog.absoluteFilePath(), kept, &error)) {
        QFile::remove(converted);
        return Error::failed(u"The original file cannot be kept as %1: %2"_s.arg(shown(kept), error));
    }
    // One rename puts the new catalogue in place: at no moment is there no
    // catalogue under the name.
    std::error_code code;
    std::filesystem::rename(nativePath(converted), nativePath(catalog.absoluteFilePath()), code);
    if (code) {
        QFile::remove(converted);
        QFile::remove(kept);
        return Error::failed(u"The converted catalogue cannot take the place of %1: %2"_s.arg(
            shown(catalog.absoluteFilePath()), QString::fromLocal8Bit(code.message())));
    }
    result->keptOriginalPath = kept;
    return result;
}

} // namespace shelvio
