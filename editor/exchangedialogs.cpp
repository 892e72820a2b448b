#include "exchangedialogs.h"

#include "importdialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>

using namespace Qt::StringLiterals;

namespace shelvio {

namespace {

class ProgressDialogView : public ImportProgressView {
public:
    ProgressDialogView(qint64 books, QWidget* parent)
        : m_dialog(u"Importing books…"_s, u"Cancel"_s, 0, int(std::min<qint64>(books, INT_MAX)), parent)
        , m_step(std::max<qint64>(1, books / 200))
    {
        m_dialog.setWindowTitle(u"Import Books"_s);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }

    bool advance(qint64 booksAdded) override
    {
        // Each shown step lets the dialog handle its events (Cancel among
        // them); a step per book would cost more than the import.
        if (booksAdded - m_shown >= m_step || booksAdded == m_dialog.maximum()) {
            m_dialog.setValue(int(std::min<qint64>(booksAdded, m_dialog.maximum())));
            m_shown = booksAdded;
        }
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
    qint64 m_step;
    qint64 m_shown = 0;
};

std::optional<QString> chosen(const QString& path)
{
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

} // namespace

std::optional<QString> ExchangeDialogBoxes::exportFileName(QWidget* parent)
{
    QString path = QFileDialog::getSaveFileName(
        parent, u"Export Books"_s, QDir::home().filePath(u"books.csv"_s), u"CSV files (*.csv)"_s);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += u".csv"_s;
    return chosen(path);
}

std::optional<QString> ExchangeDialogBoxes::importFileName(QWidget* parent)
{
    return chosen(QFileDialog::getOpenFileName(
        parent, u"Import Books"_s, QDir::homePath(),
        u"Book lists (*.csv *.tsv *.tab *.txt *.tc);;CSV and tab-separated files (*.csv *.tsv *.tab *.txt);;"
        u"Tellico collections (*.tc);;All files (*)"_s));
}

bool ExchangeDialogBoxes::chooseColumns(exchange::ImportSource* source, QWidget* parent)
{
    ColumnMappingDialog dialog(*source, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    source->mapping = dialog.mapping();
    return true;
}

std::optional<bool> ExchangeDialogBoxes::confirmImport(const exchange::ImportPlan& plan, QWidget* parent)
{
    ImportSummaryDialog dialog(plan, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.addBooksOnFile();
}

std::unique_ptr<ImportProgressView> ExchangeDialogBoxes::showProgress(qint64 books, QWidget* parent)
{
    return std::make_unique<ProgressDialogView>(books, parent);
}

} // namespace shelvio
