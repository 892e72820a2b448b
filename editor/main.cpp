#include "cataloguelocation.h"
#include "editorcommandline.h"
#include "exchangecommands.h"
#include "frmbooklist.h"
#include "programsetup.h"
#include "prompter.h"

#include <QApplication>
#include <QTextStream>

using namespace shelvio;

namespace {

int runWithoutWindow(const EditorCommandLine& commandLine)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto catalogue = [&] {
        return locateCatalogue(QCoreApplication::applicationDirPath(), commandLine.catalogue).path;
    };
    switch (commandLine.action) {
    case EditorCommandLine::Action::Export:
        return runExport(catalogue(), commandLine.bookFile, out, err);
    case EditorCommandLine::Action::Import:
        return runImport(catalogue(), commandLine.bookFile, commandLine.skipDuplicates, out, err);
    default:
        return runEditorCommandLine(commandLine, out, err);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    // --help, --version, --export and --import need no display.
    if (editorNeedsNoWindow(argumentsOf(argc, argv)))
        useOffscreenPlatform();
    // The application object takes Qt's own options (-platform, -style, ...)
    // out of the arguments; the program reads what is left.
    QApplication app(argc, argv);
    const EditorCommandLine commandLine = parseEditorCommandLine(QCoreApplication::arguments());
    if (commandLine.action != EditorCommandLine::Action::OpenWindow)
        return runWithoutWindow(commandLine);
    setUpProgram(Program::Editor);

    const QString programFolder = QCoreApplication::applicationDirPath();
    DialogPrompter prompter;
    frmBookList window(locateCatalogue(programFolder, commandLine.catalogue), programFolder, prompter);
    prompter.setParent(&window);
    QObject::connect(&window, &frmBookList::endProgram, &app, [] { QCoreApplication::exit(0); });
    if (!window.load())
        return 1;
    window.showMaximized();
    return app.exec();
}
