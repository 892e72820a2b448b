#pragma once

#include "foundbooksmodel.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QListView;
class QToolButton;

namespace shelvio {

// The find bar of the editor window: a search box, the number of books
// found and the list of them. It lies over the book tree while it is open,
// as a panel of its own, so that no control of the window moves. The
// window does the finding; the panel shows it and tells what was chosen.
class FindPanel : public QFrame {
    Q_OBJECT
public:
    explicit FindPanel(CatalogueSearch& search, QWidget* parent);

    // Shows the panel with the focus in the search box and its text selected.
    void open();
    void showFound(const QList<qint64>& bookIds, const SearchTerms& terms);
    void showProblem(const QString& problem);

    QString text() const;
    QLineEdit* searchBox() const { return m_searchBox; }
    QListView* list() const { return m_list; }
    const FoundBooksModel& found() const { return m_model; }

signals:
    void textEdited(const QString& text);
    void bookChosen(qint64 bookId);
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseCurrent();
    void moveCurrent(int rows);
    void showCount(qsizetype count);

    QLineEdit* m_searchBox;
    QToolButton* m_close;
    QLabel* m_count;
    QListView* m_list;
    FoundBooksModel m_model;
};

} // namespace shelvio
