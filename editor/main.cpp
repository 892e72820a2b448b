#include "frmbooklist.h"
#include "prompter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    shelvio::DialogPrompter prompter;
    shelvio::frmBookList window(QCoreApplication::applicationDirPath(), prompter);
    prompter.setParent(&window);
    QObject::connect(&window, &shelvio::frmBookList::endProgram, &app, [] { QCoreApplication::exit(0); });
    if (!window.load())
        return 1;
    window.showMaximized();
    return app.exec();
}
