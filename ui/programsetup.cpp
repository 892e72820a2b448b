#include "programsetup.h"

#include "programidentity.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>

using namespace Qt::StringLiterals;

namespace shelvio {

QString programVersion()
{
    return QStringLiteral(TOMARIUM_VERSION);
}

QString licenceText()
{
    return u"GNU General Public License, version 3 or later (GPL-3.0-or-later)"_s;
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void useOffscreenPlatform()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void setUpProgram(Program program)
{
    QCoreApplication::setApplicationVersion(programVersion());
    QGuiApplication::setDesktopFileName(program == Program::Editor
                                            ? QStringLiteral(TOMARIUM_EDITOR_DESKTOP_ID)
                                            : QStringLiteral(TOMARIUM_REPORTS_DESKTOP_ID));
    // One picture for each size folder ("16x16", "48x48", ...) of the icon theme.
    const QDir sizes(u":/icons/hicolor"_s);
    QIcon icon;
    for (const QString& size : sizes.entryList(QDir::Dirs))
        icon.addFile(sizes.filePath(size + u"/apps/"_s + QStringLiteral(TOMARIUM_ICON_NAME) + u".png"_s));
    QGuiApplication::setWindowIcon(icon);
}

void addCommonOptions(QCommandLineParser& parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption({{u"h"_s, u"help"_s}, u"Prints this text."_s});
    parser.addOption({{u"v"_s, u"version"_s}, u"Prints the version."_s});
    parser.addOption({u"catalogue"_s, u"Works on this catalogue file."_s, u"FILE"_s});
}

QString versionText(Program program)
{
    const QString name = program == Program::Editor ? u"tomarium"_s : u"shelvioreports"_s;
    return u"%1 %2\n"_s.arg(name, programVersion());
}

} // namespace shelvio
