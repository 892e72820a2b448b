#include "cataloguelocation.h"
#include "commandline.h"
#include "frmmain.h"
#include "programsetup.h"

#include <QApplication>
#include <QTextStream>

using namespace shelvio;
using namespace shelvio::reports;

namespace {

// The catalogue the arguments name, or the one the editor uses.
QString cataloguePath(const CommandLine& commandLine)
{
    return locateCatalogue(QCoreApplication::applicationDirPath(), commandLine.catalogue).path;
}

int runWithoutWindow(const CommandLine& commandLine)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCommandLine(commandLine, cataloguePath(commandLine), out, err);
}

} // namespace

int main(int argc, char* argv[])
{
    // The application object takes Qt's own options (-platform, -style, ...)
    // out of the arguments; the program reads what is left.
    if (needsNoWindow(argumentsOf(argc, argv))) {
        // Scripted runs work without a display.
        useOffscreenPlatform();
        QGuiApplication app(argc, argv);
        return runWithoutWindow(parseCommandLine(QCoreApplication::arguments()));
    }
    QApplication app(argc, argv);
    const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments());
    if (needsNoWindow(commandLine))
        return runWithoutWindow(commandLine);
    setUpProgram(Program::Reports);
    frmMain menu(cataloguePath(commandLine));
    menu.show();
    return app.exec();
}
