#pragma once

#include "reportlayout.h"
#include "reportpage.h"
#include "result.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPrinter;
class QScrollArea;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace shelvio {
class Prompter;
}

namespace shelvio::reports {

class PageView;
class Report;

// The report viewer: runs a report and shows its pages one at a time, with
// a toolbar to page, zoom, print, export to PDF, refresh and find text, and
// a tree of the report's groups to jump to one.
class ReportViewer : public QWidget {
    Q_OBJECT
public:
    enum class ZoomMode { FitPage, FitWidth, Percent };
    static constexpr std::array<int, 8> zoomSteps{50, 75, 100, 125, 150, 200, 300, 400};

    // Failures of a refresh, a print or an export are told through prompter.
    explicit ReportViewer(Prompter& prompter, QWidget* parent = nullptr);
    ~ReportViewer() override;

    void setReportSource(Report* report);
    // Reads the report's data and starts laying it out; the first page is
    // shown as soon as it is laid out. The error says why the data cannot be
    // read.
    Status viewReport();
    // Lays out the rest of the report now.
    void finishLayout();

    // The pages laid out so far; the handle follows the layout as it goes on.
    ReportDocument document() const;
    bool isLaidOut() const;
    int currentPage() const; // 0-based
    int pageCount() const;   // pages laid out so far
    QString pageBoxText() const;

    void setZoom(ZoomMode mode, int percent = 100);
    ZoomMode zoomMode() const { return m_zoomMode; }
    int zoomPercent() const; // the scale actually shown

    // Looks for the text from the page after the current one (the current
    // one for a new text) on; shows and highlights the page it is on.
    bool findNext(const QString& text);

    bool print(QPrinter* printer);
    Status exportPdf(const QString& path);

    QTreeWidget* groupTree() const { return m_groupTree; }

public slots:
    void showPage(int index);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void zoomIn();
    void zoomOut();
    void refresh();

signals:
    void pageChanged(int index);
    // A refresh that could not read the catalogue; the viewer is left empty,
    // with only Refresh at work, and the user has been told.
    void refreshFailed(const QString& error);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void addShortcuts();
    void startLayout();
    void layoutStep();
    void addGroupMarks();
    // The page box, and the controls that need a page enabled only when
    // there is one.
    void updatePageControls();
    void applyZoom();
    void zoomBoxChosen(int index);
    void pageBoxEntered();
    void groupChosen(QTreeWidgetItem* item);
    void printWithDialog();
    void exportWithDialog();
    void findFromBox();

    Prompter& m_prompter;
    Report* m_report = nullptr;
    std::shared_ptr<ReportLayout> m_layout;
    QTimer m_layoutTimer;
    int m_page = 0;
    size_t m_marksShown = 0;
    ZoomMode m_zoomMode = ZoomMode::FitWidth;
    int m_percent = 100;
    QString m_lastFind;

    QToolBar* m_toolBar = nullptr;
    std::vector<QAction*> m_pageActions;
    QLineEdit* m_pageBox = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QLineEdit* m_findBox = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr; // while the pages after the first are laid out
    QAction* m_progressAction = nullptr;
    QSplitter* m_splitter = nullptr;
    QTreeWidget* m_groupTree = nullptr;
    QScrollArea* m_scroll = nullptr;
    PageView* m_view = nullptr;
};

} // namespace shelvio::reports
