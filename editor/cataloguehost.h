#pragma once

#include "catalogue.h"
#include "result.h"

#include <QString>

#include <functional>

namespace shelvio {

class Prompter;

// What the backup and restore windows need from the editor that opens them:
// the catalogue file, the prompter for messages and questions, and for a
// restore the means to let go of the catalogue, to open it again and to end
// the program. The catalogue and the prompter must outlive the windows,
// which stay open after the main window has closed.
class CatalogueHost {
public:
    CatalogueHost(Catalogue& catalogue, Prompter& prompter, std::function<void()> endProgram);

    QString cataloguePath() const;
    Prompter& prompter() const { return m_prompter; }

    // Copies the catalogue, as last saved and whole, over `target`.
    Status backupTo(const QString& target) const;

    // Closes the editor's connection so that the file can be replaced.
    void releaseCatalogue();
    // Opens the same file again, the way it was open before. A missing file
    // is not created anew.
    Status reopenCatalogue();
    // Ends the program at once: no question is asked and nothing is saved.
    void endProgram() const { m_endProgram(); }

private:
    Catalogue& m_catalogue;
    Prompter& m_prompter;
    std::function<void()> m_endProgram;
    Access m_access = Access::ReadWrite;
};

} // namespace shelvio
