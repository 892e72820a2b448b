#include "commandline.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace shelvio::reports;

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv));
    if (needsNoWindow(commandLine)) {
        // Scripted runs work without a display.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        const QString catalogue = QCoreApplication::applicationDirPath() + u"/Shelvio.mdb"_s;
        return runCommandLine(commandLine, catalogue, out, err);
    }
    QApplication app(argc, argv);
    return 0;
}
