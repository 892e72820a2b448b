#pragma once

#include <QString>

// Where the catalogue file lies. Run from a folder the user can write (the
// build folder, a copied folder), the programs keep Shelvio.mdb beside them.
// An installed copy lives in a folder the user cannot write: there, unless
// the folder already holds a catalogue, each user has one in their own data
// folder. Both programs follow this one rule, so they find the same file.
namespace shelvio {

// The catalogue's file name, the same in every place.
QString catalogueFileName();

// The per-user place: the same for both programs, whatever their names.
QString userCatalogueFolder();

struct CatalogueLocation {
    enum class Place {
        ProgramFolder, // beside the programs
        UserData,      // in userCatalogueFolder(); the folder may not exist yet
        Chosen,        // named on the command line
    };
    QString path; // absolute
    Place place = Place::ProgramFolder;

    QString folder() const;
};

// Whether this program may write the file, or create files in the folder,
// with the rights an open would have (its effective user, not the one who
// started it).
bool pathIsWritable(const QString& path);
bool folderIsWritable(const QString& folder);

// The catalogue for programs in programFolder. A chosen file (relative to the
// working folder) wins over the rule. Looks at the disk only: nothing is
// created.
CatalogueLocation locateCatalogue(const QString& programFolder, const QString& chosenFile = {},
                                  bool (*isWritable)(const QString& folder) = folderIsWritable);

} // namespace shelvio
