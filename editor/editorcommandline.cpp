#include "editorcommandline.h"

#include "programsetup.h"

#include <QCommandLineParser>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

using Action = EditorCommandLine::Action;

QString helpText()
{
    return u"Usage: tomarium [--catalogue FILE] [--export FILE.csv | --import FILE [--skip-duplicates]]\n\n"
           u"Opens the editor of the book catalogue Shelvio.mdb: the one beside the program where the\n"
           u"program's folder can be written to or already holds one, else the user's own in their\n"
           u"data folder (~/.local/share/tomarium).\n\n"
           u"  --catalogue FILE   works on the catalogue FILE instead (created when missing)\n"
           u"  --export FILE.csv  writes every book to the CSV file, without a window\n"
           u"  --import FILE      adds the books of a CSV or tab-separated file, a Goodreads or calibre\n"
           u"                     CSV export or a Tellico collection, without a window, and prints\n"
           u"                     what was done\n"
           u"  --skip-duplicates  with --import: leaves out the books that look like books on file\n"
           u"  --help, -h         prints this text\n"
           u"  --version, -v      prints the version\n\n"
           u"Qt's standard options (-platform, -style, ...) are accepted too.\n"_s;
}

// Reads the arguments; false when they cannot be read.
bool parseInto(QCommandLineParser& parser, const QStringList& arguments)
{
    addCommonOptions(parser);
    parser.addOption({u"export"_s, u"Writes every book to a CSV file."_s, u"FILE"_s});
    parser.addOption({u"import"_s, u"Adds the books of a file."_s, u"FILE"_s});
    parser.addOption({u"skip-duplicates"_s, u"Leaves out books that look like books on file."_s});
    return parser.parse(arguments);
}

// --export or --import, when one of them is given.
void readExchange(const QCommandLineParser& parser, EditorCommandLine* result)
{
    const bool exporting = parser.isSet(u"export"_s);
    const bool importing = parser.isSet(u"import"_s);
    result->skipDuplicates = parser.isSet(u"skip-duplicates"_s);
    if (exporting && importing) {
        result->action = Action::Invalid;
        result->problem = u"--export and --import cannot be given together."_s;
    } else if (result->skipDuplicates && !importing) {
        result->action = Action::Invalid;
        result->problem = u"--skip-duplicates goes with --import."_s;
    } else if (exporting || importing) {
        result->action = exporting ? Action::Export : Action::Import;
        result->bookFile = parser.value(exporting ? u"export"_s : u"import"_s);
    }
}

} // namespace

EditorCommandLine parseEditorCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    EditorCommandLine result;
    if (!parseInto(parser, arguments)) {
        result.action = Action::Invalid;
        result.problem = parser.errorText();
    } else if (parser.isSet(u"help"_s)) {
        result.action = Action::Help;
    } else if (!parser.positionalArguments().isEmpty()) {
        result.action = Action::Invalid;
        result.problem = u"Unknown arguments: %1"_s.arg(parser.positionalArguments().join(u' '));
    } else if (parser.isSet(u"version"_s)) {
        result.action = Action::Version;
    } else {
        readExchange(parser, &result);
    }
    result.catalogue = parser.value(u"catalogue"_s);
    return result;
}

bool editorNeedsNoWindow(const QStringList& arguments)
{
    // Qt's own options are unknown here; the parser still finds ours.
    QCommandLineParser parser;
    parseInto(parser, arguments);
    for (const QString& option : {u"help"_s, u"version"_s, u"export"_s, u"import"_s, u"skip-duplicates"_s}) {
        if (parser.isSet(option))
            return true;
    }
    return false;
}

int runEditorCommandLine(const EditorCommandLine& commandLine, QTextStream& out, QTextStream& err)
{
    switch (commandLine.action) {
    case Action::OpenWindow:
    case Action::Export:
    case Action::Import:
        return 0;
    case Action::Help:
        out << helpText();
        return 0;
    case Action::Version:
        out << versionText(Program::Editor);
        return 0;
    case Action::Invalid:
        break;
    }
    err << u"tomarium: "_s << commandLine.problem << u'\n' << helpText();
    return 2;
}

} // namespace shelvio
