#include "commandline.h"

#include "report.h"
#include "reportlayout.h"
#include "reportpainter.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    const QStringList args = arguments.mid(1);
    if (args.isEmpty())
        return result;
    const QString option = args.first();
    if (option == u"--help"_s || option == u"-h"_s) {
        result.action = CommandLine::Action::Help;
    } else if (option == u"--list"_s && args.size() == 1) {
        result.action = CommandLine::Action::List;
    } else if (option == u"--pdf"_s && args.size() == 3) {
        result.action = CommandLine::Action::Pdf;
        result.definition = args.at(1);
        result.file = args.at(2);
    } else {
        result.action = CommandLine::Action::Invalid;
        result.problem = option == u"--pdf"_s ? u"--pdf takes a report definition and a file name."_s
                                              : u"Unknown arguments: %1"_s.arg(args.join(u' '));
    }
    return result;
}

bool needsNoWindow(const CommandLine& commandLine)
{
    return commandLine.action != CommandLine::Action::ShowMenu;
}

QString helpText()
{
    QString text = u"Usage: shelvioreports [--list | --pdf DEFINITION FILE | --help]\n\n"
                   u"Without options, shows the menu of reports over the catalogue Shelvio.mdb in the\n"
                   u"program's folder.\n\n"
                   u"  --list                  prints each report definition with its window caption\n"
                   u"  --pdf DEFINITION FILE   writes that report to the PDF file FILE, without a window\n"
                   u"  --help, -h              prints this text\n"_s;
    return text;
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
    Report report(*definition);
    setLocationOfEveryTable(report, catalogue);
    QString error;
    if (!report.readData(&error)) {
        err << u"shelvioreports: the report could not be loaded. %1\n"_s.arg(error);
        return 1;
    }
    const ReportDocument document = layoutReport(*definition, report.books(), defaultLayoutOptions());
    if (!exportPdf(document, commandLine.file, &error)) {
        err << u"shelvioreports: %1\n"_s.arg(error);
        return 1;
    }
    const qsizetype pages = document.pages.size();
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
