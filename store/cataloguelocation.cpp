#include "cataloguelocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

bool folderIsWritable(const QString& folder)
{
    return QFileInfo(folder).isWritable();
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
