#include "commandline.h"

#include "programsetup.h"
#include "report.h"
#include "reportlayout.h"
#include "reportpainter.h"

#include <QCommandLineParser>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

using Action = CommandLine::Action;

// Reads the arguments; false when they cannot be read.
bool parseInto(QCommandLineParser& parser, const QStringList& arguments)
{
    addCommonOptions(parser);
    parser.addOption({u"list"_s, u"Lists the report definitions."_s});
    parser.addOption({u"pdf"_s, u"Writes a report to a PDF file."_s, u"DEFINITION"_s});
    return parser.parse(arguments);
}

CommandLine invalid(const QString& problem)
{
    CommandLine result;
    result.action = Action::Invalid;
    result.problem = problem;
    return result;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    if (!parseInto(parser, arguments))
        return invalid(parser.errorText());
    const QStringList rest = parser.positionalArguments();
    CommandLine result;
    if (parser.isSet(u"help"_s)) {
        result.action = Action::Help;
    } else if (parser.isSet(u"version"_s)) {
        result.action = Action::Version;
    } else if (parser.isSet(u"pdf"_s)) {
        if (rest.size() != 1 || parser.isSet(u"list"_s))
            return invalid(u"--pdf takes a report definition and a file name."_s);
        result.action = Action::Pdf;
        result.definition = parser.value(u"pdf"_s);
        result.file = rest.first();
    } else if (parser.isSet(u"list"_s)) {
        result.action = Action::List;
    }
    if (!rest.isEmpty() && result.action != Action::Pdf && result.action != Action::Help)
        return invalid(u"Unknown arguments: %1"_s.arg(rest.join(u' ')));
    result.catalogue = parser.value(u"catalogue"_s);
    return result;
}

bool needsNoWindow(const CommandLine& commandLine)
{
    return commandLine.action != CommandLine::Action::ShowMenu;
}

bool needsNoWindow(const QStringList& arguments)
{
    // Qt's own options are unknown here; the parser still finds ours.
    QCommandLineParser parser;
    parseInto(parser, arguments);
    for (const QString& option : {u"help"_s, u"version"_s, u"list"_s, u"pdf"_s}) {
        if (parser.isSet(option))
            return true;
    }
    return false;
}

QString helpText()
{
    return u"Usage: shelvioreports [--catalogue FILE] [--list | --pdf DEFINITION FILE | --help | "
           u"--version]\n\n"
           u"Without options, shows the menu of reports over the catalogue Shelvio.mdb that the editor\n"
           u"uses: the one beside the program where the program's folder can be written to or already\n"
           u"holds one, else the user's own in their data folder (~/.local/share/tomarium).\n\n"
           u"  --catalogue FILE        reads the catalogue FILE instead\n"
           u"  --list                  prints each report definition with its window caption\n"
           u"  --pdf DEFINITION FILE   writes that report to the PDF file FILE, without a window\n"
           u"  --help, -h              prints this text\n"
           u"  --version, -v           prints the version\n\n"
           u"Qt's standard options (-platform, -style, ...) are accepted too.\n"_s;
}

namespace {

int writePdf(const CommandLine& commandLine, const QString& catalogue, QTextStream& out, QTextStream& err)
{
    const ReportDefinition* definition = findDefinition(commandLine.definition);
    if (!definition) {
        err << u"shelvioreports: there is no report definition \"%1\"; --list names them.\n"_s.arg(
            commandLine.definition);
        return 2;
    }
    const Result<ReportDocument> document = runReport(*definition, catalogue);
    if (!document) {
        err << u"shelvioreports: the report could not be loaded. %1\n"_s.arg(document.error().text());
        return 1;
    }
    if (Status written = exportPdf(*document, commandLine.file); !written) {
        err << u"shelvioreports: %1\n"_s.arg(written.error().text());
        return 1;
    }
    const int pages = document->pageCount();
    out << u"%1: %2 %3 written to %4\n"_s.arg(definition->name)
               .arg(pages)
               .arg(pages == 1 ? u"page"_s : u"pages"_s)
               .arg(commandLine.file);
    return 0;
}

} // namespace

int runCommandLine(const CommandLine& commandLine, const QString& catalogue, QTextStream& out,
                   QTextStream& err)
{
    switch (commandLine.action) {
    case CommandLine::Action::ShowMenu:
        return 0;
    case CommandLine::Action::Help:
        out << helpText();
        return 0;
    case CommandLine::Action::Version:
        out << versionText(Program::Reports);
        return 0;
    case CommandLine::Action::List:
        for (const ReportDefinition& definition : reportDefinitions())
            out << definition.name << u'\t' << definition.caption << u'\n';
        return 0;
    case CommandLine::Action::Pdf:
        return writePdf(commandLine, catalogue, out, err);
    case CommandLine::Action::Invalid:
        err << u"shelvioreports: "_s << commandLine.problem << u'\n' << helpText();
        return 2;
    }
    return 2;
}

} // namespace shelvio::reports
