#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The options of the report program for scripted use. Without any, the
// program shows its menu window.
namespace shelvio::reports {

struct CommandLine {
    enum class Action { ShowMenu, Help, List, Pdf, Invalid };
    Action action = Action::ShowMenu;
    QString definition; // --pdf
    QString file;       // --pdf
    QString problem;    // Invalid: what is wrong with the arguments
};

// Reads the arguments (the program's name first, as in argv).
CommandLine parseCommandLine(const QStringList& arguments);

// Whether the arguments ask for work without a window, so that the program
// can start without a display.
bool needsNoWindow(const CommandLine& commandLine);

// Carries out Help, List, Pdf and Invalid, writing to out and err; returns
// the program's exit code. Pdf reads the catalogue at `catalogue`.
int runCommandLine(const CommandLine& commandLine, const QString& catalogue, QTextStream& out,
                   QTextStream& err);

QString helpText();

} // namespace shelvio::reports
