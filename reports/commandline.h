#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The options of the report program for scripted use. Without any, the
// program shows its menu window.
namespace shelvio::reports {

struct CommandLine {
    enum class Action { ShowMenu, Help, Version, List, Pdf, Invalid };
    Action action = Action::ShowMenu;
    QString definition; // --pdf
    QString file;       // --pdf
    QString catalogue;  // --catalogue FILE; empty for the usual one
    QString problem;    // Invalid: what is wrong with the arguments
};

// Reads the arguments (the program's name first) once the application
// object has taken Qt's own options out of them.
CommandLine parseCommandLine(const QStringList& arguments);

// Whether the arguments ask for work without a window, so that the program
// can start without a display.
bool needsNoWindow(const CommandLine& commandLine);
// The same for the arguments as the program received them, Qt's options
// still among them: asked before the application object exists.
bool needsNoWindow(const QStringList& arguments);

// Carries out Help, Version, List, Pdf and Invalid, writing to out and err; returns
// the program's exit code. Pdf reads the catalogue at `catalogue`.
int runCommandLine(const CommandLine& commandLine, const QString& catalogue, QTextStream& out,
                   QTextStream& err);

QString helpText();

} // namespace shelvio::reports
