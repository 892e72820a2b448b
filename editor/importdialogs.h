#pragma once

#include "importfile.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QProgressDialog;
class QRadioButton;
class QTableWidget;

namespace shelvio {

// What each column of a table holds: one choice per column, guessed from
// its name, and the first rows as they will be stored. The import can go on
// only once a column holds the titles.
class ColumnMappingDialog : public QDialog {
    Q_OBJECT
public:
    ColumnMappingDialog(const exchange::ImportSource& source, QWidget* parent = nullptr);

    QList<exchange::Column> mapping() const;
    QComboBox* choiceOf(qsizetype column) const { return m_choices.value(column); }
    QTableWidget* preview() const { return m_preview; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    // The rows of the preview.
    static constexpr int previewRows = 8;

private:
    QWidget* makeChoices();
    void showPreview();

    exchange::ImportSource m_source; // the first rows only
    QList<QComboBox*> m_choices;
    QTableWidget* m_preview;
    QDialogButtonBox* m_buttons;
};

// What the import will do, before anything is written: the books to add,
// those that look like books on file with the choice to skip or add them,
// and every row that could not be read as it stands.
class ImportSummaryDialog : public QDialog {
    Q_OBJECT
public:
    ImportSummaryDialog(const exchange::ImportPlan& plan, QWidget* parent = nullptr);

    bool addBooksOnFile() const;
    QRadioButton* skipOption() const { return m_skip; }
    QRadioButton* addOption() const { return m_add; }
    QListWidget* problems() const { return m_problems; }
    QDialogButtonBox* buttons() const { return m_buttons; }

private:
    void updateImportButton();

    const exchange::ImportPlan& m_plan;
    QRadioButton* m_skip = nullptr;
    QRadioButton* m_add = nullptr;
    QListWidget* m_problems = nullptr;
    QDialogButtonBox* m_buttons;
};

} // namespace shelvio
