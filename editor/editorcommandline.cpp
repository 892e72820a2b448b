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
    return u"Usage: tomarium [--catalogue FILE]\n\n"
           u"Opens the editor of the book catalogue Shelvio.mdb: the one beside the program where the\n"
           u"program's folder can be written to or already holds one, else the user's own in their\n"
           u"data folder (~/.local/share/tomarium).\n\n"
           u"  --catalogue FILE   works on the catalogue FILE instead (created when missing)\n"
           u"  --help, -h         prints this text\n"
           u"  --version, -v      prints the version\n\n"
           u"Qt's standard options (-platform, -style, ...) are accepted too.\n"_s;
}

// Reads the arguments; false when they cannot be read.
bool parseInto(QCommandLineParser& parser, const QStringList& arguments)
{
    addCommonOptions(parser);
    return parser.parse(arguments);
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
    }
    result.catalogue = parser.value(u"catalogue"_s);
    return result;
}

bool editorNeedsNoWindow(const QStringList& arguments)
{
    // Qt's own options are unknown here; the parser still finds ours.
    QCommandLineParser parser;
    parseInto(parser, arguments);
    return parser.isSet(u"help"_s) || parser.isSet(u"version"_s);
}

int runEditorCommandLine(const EditorCommandLine& commandLine, QTextStream& out, QTextStream& err)
{
    switch (commandLine.action) {
    case Action::OpenWindow:
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
