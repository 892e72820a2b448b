#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace shelvio {

// The editor's command line: which catalogue to open, a request for its
// help or version, or books to export or import without a window.
struct EditorCommandLine {
    enum class Action { OpenWindow, Help, Version, Export, Import, Invalid };
    Action action = Action::OpenWindow;
    QString catalogue;           // --catalogue FILE; empty for the usual one
    QString bookFile;            // --export FILE, --import FILE
    bool skipDuplicates = false; // --skip-duplicates
    QString problem;             // Invalid: what is wrong with the arguments
};

// Reads the arguments (the program's name first) once the application
// object has taken Qt's own options out of them.
EditorCommandLine parseEditorCommandLine(const QStringList& arguments);

// Whether the arguments as the program received them, Qt's options still
// among them, ask for no window, so that no display is needed.
bool editorNeedsNoWindow(const QStringList& arguments);

// Carries out Help, Version and Invalid; returns the exit code. Export and
// Import are carried out by exchangecommands.h.
int runEditorCommandLine(const EditorCommandLine& commandLine, QTextStream& out, QTextStream& err);

} // namespace shelvio
