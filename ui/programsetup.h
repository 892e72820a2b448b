#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// What both programs share in how they start: their version and licence,
// their icon and desktop entry, and the options of their command lines.
namespace shelvio {

enum class Program { Editor, Reports };

QString programVersion();
// The licence of the programs, as the user is told it.
QString licenceText();

// The arguments as the program received them, its name first.
QStringList argumentsOf(int argc, char* argv[]);

// Before the application object exists, for a run that opens no window: the
// offscreen platform, unless one is named, so that no display is needed.
void useOffscreenPlatform();

// After the application object exists: the version, the window icon, and
// the program's desktop entry, under whose icon the desktop groups its
// windows.
void setUpProgram(Program program);

// The options both programs take: --help (-h), --version (-v) and
// --catalogue FILE. An option is a word after one dash or two, like Qt's own
// options (-platform, -style), which the application object has taken out
// of its arguments before the program reads them.
void addCommonOptions(QCommandLineParser& parser);

// What --version prints: the program file's name and the version.
QString versionText(Program program);

} // namespace shelvio
