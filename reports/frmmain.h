#pragma once

#include <QString>
#include <QWidget>

#include <map>
#include <memory>

namespace Ui {
class frmMain;
}

namespace shelvio {
class Prompter;
}

namespace shelvio::reports {

class ReportWindow;
struct ReportDefinition;

// The catalogue file the report program reads when none is named: the one
// the editor uses.
QString defaultDatabasePath();

// The menu window: a button for each report and one to end the program.
// Each report button opens its report window modally; a report that cannot
// be loaded is reported and ends the program.
class frmMain : public QWidget {
    Q_OBJECT
public:
    // Messages go through `prompter`; without one, through message boxes.
    explicit frmMain(const QString& databasePath = defaultDatabasePath(), Prompter* prompter = nullptr,
                     QWidget* parent = nullptr);
    ~frmMain() override;

    // DatabasePath: set once when the window loads.
    QString databasePath() const { return m_databasePath; }
    // A report's window, once its button has been clicked; nullptr before.
    ReportWindow* reportWindow(const QString& definitionName) const;
    // Whether the program has been told to end, and with which code.
    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }

private:
    void openReport(const ReportDefinition& definition);
    void endProgram(int code);
    void setLooks();

    std::unique_ptr<Ui::frmMain> m_ui;
    QString m_databasePath;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    std::map<QString, std::unique_ptr<ReportWindow>> m_windows;
    bool m_ended = false;
    int m_exitCode = 0;
};

} // namespace shelvio::reports
