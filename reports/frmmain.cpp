#include "frmmain.h"

#include "ui_frmmain.h"

#include "cataloguelocation.h"
#include "fonts.h"
#include "prompter.h"
#include "reportdefinition.h"
#include "reportwindow.h"
#include "scaling.h"
#include "windowlook.h"
#include "windowroles.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

constexpr int clientWidthTwips = 11145;
constexpr int clientHeightTwips = 7515;

} // namespace

QString defaultDatabasePath()
{
    return locateCatalogue(QCoreApplication::applicationDirPath()).path;
}

frmMain::frmMain(const QString& databasePath, Prompter* prompter, QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::frmMain>())
    , m_databasePath(databasePath)
    , m_ownPrompter(prompter ? nullptr : std::make_unique<DialogPrompter>(this))
    , m_prompter(prompter ? prompter : m_ownPrompter.get())
{
    announcePlainWindowsAsWindows();
    m_ui->setupUi(this);
    setLooks();
    for (const ReportDefinition& definition : reportDefinitions()) {
        auto* button = findChild<QPushButton*>(definition.buttonName);
        Q_ASSERT(button);
        connect(button, &QPushButton::clicked, this, [this, &definition] { openReport(definition); });
    }
    connect(m_ui->Command2, &QPushButton::clicked, this, [this] { endProgram(0); });
}

frmMain::~frmMain() = default;

void frmMain::setLooks()
{
    paintWindowBlue(this);
    m_ui->Label1->setFont(scriptFont(72));
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setFont(dialogFont(8));
    scaleFixedLayout(this);
    resize(twipsToPixels(clientWidthTwips, this), twipsToPixels(clientHeightTwips, this));
}

ReportWindow* frmMain::reportWindow(const QString& definitionName) const
{
    const auto found = m_windows.find(definitionName);
    return found == m_windows.end() ? nullptr : found->second.get();
}

void frmMain::openReport(const ReportDefinition& definition)
{
    auto& window = m_windows[definition.name];
    if (!window)
        window = std::make_unique<ReportWindow>(definition, m_databasePath, *m_prompter);
    if (Status loaded = window->loadReport(); !loaded) {
        m_prompter->inform(
            u"The report \"%1\" could not be loaded.\n\n%2\n\nThe report program will now end."_s.arg(
                definition.caption, loaded.error().text()),
            windowTitle());
        endProgram(1);
        return;
    }
    // The whole screen also where no window manager carries out the maximising.
    window->setGeometry(screen()->availableGeometry());
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    window->exec();
}

void frmMain::endProgram(int code)
{
    m_ended = true;
    m_exitCode = code;
    close();
    QCoreApplication::exit(code);
}

} // namespace shelvio::reports
