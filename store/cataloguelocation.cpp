#include "cataloguelocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace shelvio {

QString catalogueFileName()
{
    return u"Shelvio.mdb"_s;
}

QString userCatalogueFolder()
{
    // Not AppDataLocation: that follows the application name, which differs
    // between the editor and the report viewer.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/tomarium"_s;
}

QString CatalogueLocation::folder() const
{
    return QFileInfo(path).absolutePath();
}

bool pathIsWritable(const QString& path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

bool folderIsWritable(const QString& folder)
{
    return pathIsWritable(folder);
}

CatalogueLocation locateCatalogue(const QString& programFolder, const QString& chosenFile,
                                  bool (*isWritable)(const QString& folder))
{
    using Place = CatalogueLocation::Place;
    if (!chosenFile.isEmpty())
        return {QFileInfo(chosenFile).absoluteFilePath(), Place::Chosen};
    const QString beside = QDir(programFolder).absoluteFilePath(catalogueFileName());
    if (QFileInfo::exists(beside) || isWritable(programFolder))
        return {beside, Place::ProgramFolder};
    return {QDir(userCatalogueFolder()).absoluteFilePath(catalogueFileName()), Place::UserData};
}

} // namespace shelvio
