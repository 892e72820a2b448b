// The older program's Jet catalogues, damaged: the input names one of the
// kept Jet files, where to cut it short and bytes to write over it, in the
// way the legacy tests damage a copy. Whatever the damage, the conversion
// either succeeds or says why, leaves no half-made catalogue behind and
// never changes the Jet file.
#include "fuzzinput.h"
#include "legacyconversion.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>

using namespace Qt::StringLiterals;
using shelvio::fuzzing::FuzzInput;
using shelvio::fuzzing::require;

namespace {

QByteArray fixture(const QString& name)
{
    QFile file(QStringLiteral(SHELVIO_FIXTURES_DIR "/legacy/") + name);
    require(file.open(QIODevice::ReadOnly), "the Jet fixtures are there", file.fileName());
    return file.readAll();
}

const std::array<QByteArray, 3>& originals()
{
    static const std::array<QByteArray, 3> files{
        fixture(u"Shelvio-legacy.mdb"_s), fixture(u"Shelvio-empty.mdb"_s), fixture(u"NotACatalogue.mdb"_s)};
    return files;
}

constexpr qsizetype pageSize = 4096;

// Damage as the input tells: a cut, then patches of a few bytes, each at a
// page and an offset within it so that short inputs reach every page.
QByteArray damaged(FuzzInput& input)
{
    QByteArray file = originals()[input.index(originals().size())];
    if (input.byte() % 4 == 0)
        file.truncate(qsizetype(input.index(size_t(file.size()) + 1)));
    while (!input.empty() && !file.isEmpty()) {
        const qsizetype page = qsizetype(input.byte()) % (file.size() / pageSize + 1);
        const qsizetype offset = qsizetype(input.byte() << 8 | input.byte()) % pageSize;
        const QByteArray bytes = input.bytes(input.byte() % 9);
        const qsizetype at = qMin(page * pageSize + offset, file.size() - 1);
        file.replace(at, qMin(bytes.size(), file.size() - at), bytes.left(file.size() - at));
    }
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const QByteArray content = damaged(input);
    QTemporaryDir folder;
    const QString jet = folder.filePath(u"Shelvio.mdb"_s);
    const QString target = folder.filePath(u"converted.mdb"_s);
    {
        QFile file(jet);
        require(file.open(QIODevice::WriteOnly) && file.write(content) == content.size(),
                "the damaged copy is written");
    }
    const shelvio::Status checked = shelvio::checkJetCatalogue(jet);
    const auto converted = shelvio::convertJetCatalogue(jet, target);
    require(converted.ok() == QFile::exists(target), "a catalogue only from a conversion that succeeded",
            converted ? QString() : converted.error().text());
    if (converted)
        require(checked.ok(), "only a file that passes the check converts");
    else
        require(!converted.error().text().isEmpty(), "a failure says why");
    QFile file(jet);
    require(file.open(QIODevice::ReadOnly) && file.readAll() == content, "the Jet file is never changed");
    require(QDir(folder.path()).entryList(QDir::Files).size() == (converted ? 2 : 1), "no stray file is left",
            QDir(folder.path()).entryList(QDir::Files).join(u", "_s));
    return 0;
}
