#include "importdialogs.h"

#include "nameforms.h"
#include "numbers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

using exchange::Column;

QString numberText(const std::optional<qint64>& number)
{
    return number ? QString::number(*number) : QString();
}

QString yesNo(bool flag)
{
    return flag ? u"Yes"_s : u"No"_s;
}

// A book's values as the preview shows them, in the order of previewHeader().
QStringList previewValues(const Book& book)
{
    return {book.title,
            sortTitle(book.title),
            book.author,
            book.firstName,
            numberText(book.yearPublished),
            numberText(book.pages),
            book.costUnits ? formatCost(*book.costUnits) : QString(),
            book.dateRead,
            ratingText(book.rating),
            yesNo(book.readBook),
            yesNo(book.wantToRead),
            yesNo(book.wantToBuy),
            yesNo(book.ownBook),
            book.comments.section(u'\n', 0, 0),
            exchange::joinCategories(book.categories)};
}

const QStringList& previewHeader()
{
    static const QStringList header{u"Title"_s,  u"Sort Title"_s, u"Last Name"_s,    u"First Name"_s,
                                    u"Year"_s,   u"Pages"_s,      u"Cost"_s,         u"Date Read"_s,
                                    u"Rating"_s, u"Have Read"_s,  u"Want to Read"_s, u"Want to Buy"_s,
                                    u"Own"_s,    u"Comments"_s,   u"Categories"_s};
    return header;
}

QLabel* wrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

ColumnMappingDialog::ColumnMappingDialog(const exchange::ImportSource& source, QWidget* parent)
    : QDialog(parent)
    , m_source(source)
    , m_preview(new QTableWidget(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    m_source.rows = source.rows.first(std::min<qsizetype>(previewRows, source.rows.size()));
    setWindowTitle(u"Import Books – Columns"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(u"Choose what each column of the file holds. A column must hold the "
                                   u"titles; columns marked \"(not imported)\" are left out."_s,
                                   this));
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(makeChoices());
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll, 1);
    auto* previewLabel = new QLabel(u"The first &rows as they will be stored:"_s, this);
    previewLabel->setBuddy(m_preview);
    layout->addWidget(previewLabel);
    m_preview->setAccessibleName(u"The first rows as they will be stored"_s);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setColumnCount(int(previewHeader().size()));
    m_preview->setHorizontalHeaderLabels(previewHeader());
    layout->addWidget(m_preview, 1);
    m_buttons->button(QDialogButtonBox::Ok)->setText(u"&Continue"_s);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(900, 600);
    showPreview();
    if (!m_choices.isEmpty())
        m_choices.first()->setFocus();
}

QWidget* ColumnMappingDialog::makeChoices()
{
    auto* choices = new QWidget;
    auto* form = new QFormLayout(choices);
    for (qsizetype i = 0; i < m_source.header.size(); ++i) {
        auto* box = new QComboBox(choices);
        for (Column column : exchange::columnChoices())
            box->addItem(exchange::columnLabel(column), int(column));
        box->setCurrentIndex(int(exchange::columnChoices().indexOf(m_source.mapping.value(i))));
        const QString name = m_source.header[i].trimmed();
        box->setAccessibleName(u"Column %1: %2"_s.arg(i + 1).arg(name));
        auto* label = new QLabel(name.isEmpty() ? u"(column %1)"_s.arg(i + 1) : name, choices);
        label->setBuddy(box);
        form->addRow(label, box);
        m_choices << box;
        connect(box, &QComboBox::currentIndexChanged, this, &ColumnMappingDialog::showPreview);
    }
    return choices;
}

QList<Column> ColumnMappingDialog::mapping() const
{
    QList<Column> columns;
    for (const QComboBox* box : m_choices)
        columns << Column(box->currentData().toInt());
    return columns;
}

void ColumnMappingDialog::showPreview()
{
    m_source.mapping = mapping();
    const exchange::ImportPlan plan = exchange::planImport(m_source);
    m_preview->setRowCount(int(plan.books.size()));
    for (size_t row = 0; row < plan.books.size(); ++row) {
        const QStringList values = previewValues(plan.books[row]);
        for (int column = 0; column < values.size(); ++column)
            m_preview->setItem(int(row), column, new QTableWidgetItem(values[column]));
        m_preview->setVerticalHeaderItem(int(row), new QTableWidgetItem(u"Line %1"_s.arg(plan.lines[row])));
    }
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_source.mapping.contains(Column::Title));
}

ImportSummaryDialog::ImportSummaryDialog(const exchange::ImportPlan& plan, QWidget* parent)
    : QDialog(parent)
    , m_plan(plan)
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(u"Import Books"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(exchange::planSummary(plan).trimmed(), this));
    if (plan.onFileCount() > 0) {
        auto* group = new QGroupBox(u"Books that look like books already on file"_s, this);
        auto* options = new QVBoxLayout(group);
        m_skip = new QRadioButton(u"&Skip them"_s, group);
        m_add = new QRadioButton(u"&Add them as well"_s, group);
        m_skip->setChecked(true);
        options->addWidget(m_skip);
        options->addWidget(m_add);
        layout->addWidget(group);
        connect(m_add, &QRadioButton::toggled, this, &ImportSummaryDialog::updateImportButton);
    }
    if (!plan.problems.isEmpty()) {
        m_problems = new QListWidget(this);
        m_problems->addItems(exchange::problemLines(plan));
        m_problems->setAccessibleName(u"Rows not read as they stand"_s);
        auto* label = new QLabel(u"&Rows not read as they stand:"_s, this);
        label->setBuddy(m_problems);
        layout->addWidget(label);
        layout->addWidget(m_problems, 1);
    }
    m_buttons->button(QDialogButtonBox::Ok)->setText(u"&Import"_s);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateImportButton();
    resize(640, m_problems ? 480 : 240);
}

bool ImportSummaryDialog::addBooksOnFile() const
{
    return m_add && m_add->isChecked();
}

// Nothing to add: nothing to import.
void ImportSummaryDialog::updateImportButton()
{
    const bool anything = qint64(m_plan.books.size()) > (addBooksOnFile() ? 0 : m_plan.onFileCount());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(anything);
    m_buttons->button(anything ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->setDefault(true);
}

} // namespace shelvio
