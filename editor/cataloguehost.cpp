#include "cataloguehost.h"

#include "catalogue.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace shelvio {

CatalogueHost::CatalogueHost(Catalogue& catalogue, Prompter& prompter, std::function<void()> endProgram)
    : m_catalogue(catalogue)
    , m_prompter(prompter)
    , m_endProgram(std::move(endProgram))
{
}

QString CatalogueHost::cataloguePath() const
{
    return m_catalogue.path();
}

Status CatalogueHost::backupTo(const QString& target) const
{
    return m_catalogue.copyFileTo(target);
}

void CatalogueHost::releaseCatalogue()
{
    m_access = m_catalogue.isReadOnly() ? Access::ReadOnly : Access::ReadWrite;
    m_catalogue.close();
}

Status CatalogueHost::reopenCatalogue()
{
    // Opening creates a missing catalogue; an empty one in place of the
    // user's would hide the loss, so a missing file is an error here.
    if (!QFileInfo::exists(m_catalogue.path()))
        return Error::failed(u"The file is no longer there."_s);
    switch (m_catalogue.open(m_catalogue.path(), m_access)) {
    case Catalogue::OpenStatus::Opened:
    case Catalogue::OpenStatus::ReadOnly:
        return {};
    case Catalogue::OpenStatus::LegacyFormat:
        return Error::failed(u"The file is in the older Jet format."_s);
    default:
        return Error::failed(m_catalogue.openProblem());
    }
}

} // namespace shelvio
