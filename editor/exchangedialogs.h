#pragma once

#include "importfile.h"

#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace shelvio {

// How far an import has come, shown while the catalogue takes the books.
class ImportProgressView {
public:
    virtual ~ImportProgressView() = default;
    // False once the user has asked to stop.
    virtual bool advance(qint64 booksAdded) = 0;
};

// Every choice the user makes while bringing books in or taking them out,
// behind one interface: the real dialogs, or scripted answers in tests.
class ExchangeDialogs {
public:
    virtual ~ExchangeDialogs() = default;

    // The file to write or read; nothing when the user cancels.
    virtual std::optional<QString> exportFileName(QWidget* parent) = 0;
    virtual std::optional<QString> importFileName(QWidget* parent) = 0;
    // Lets the user set what each column of a table holds; false on Cancel.
    virtual bool chooseColumns(exchange::ImportSource* source, QWidget* parent) = 0;
    // Shows what the import would do. Nothing when the user cancels;
    // otherwise whether the books that look like books on file are added too.
    virtual std::optional<bool> confirmImport(const exchange::ImportPlan& plan, QWidget* parent) = 0;
    virtual std::unique_ptr<ImportProgressView> showProgress(qint64 books, QWidget* parent) = 0;
};

// The real thing: file pickers, the column and summary dialogs, and a
// progress dialog with Cancel.
class ExchangeDialogBoxes : public ExchangeDialogs {
public:
    std::optional<QString> exportFileName(QWidget* parent) override;
    std::optional<QString> importFileName(QWidget* parent) override;
    bool chooseColumns(exchange::ImportSource* source, QWidget* parent) override;
    std::optional<bool> confirmImport(const exchange::ImportPlan& plan, QWidget* parent) override;
    std::unique_ptr<ImportProgressView> showProgress(qint64 books, QWidget* parent) override;
};

} // namespace shelvio
