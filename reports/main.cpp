#include "commandline.h"
#include "frmmain.h"

#include <QApplication>
#include <QTextStream>

using namespace shelvio::reports;

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv));
    if (needsNoWindow(commandLine)) {
        // Scripted runs work without a display.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runCommandLine(commandLine, defaultDatabasePath(), out, err);
    }
    QApplication app(argc, argv);
    frmMain menu;
    menu.show();
    return app.exec();
}
