#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class frmRestoreShelvio;
}

namespace shelvio {

class CatalogueHost;
class FolderPickers;

// The restore window: the user picks the folder that holds Shelvo.bak and
// Restore Data puts it in the catalogue's place, after which the editor ends.
class frmRestoreShelvio : public QWidget {
    Q_OBJECT
public:
    explicit frmRestoreShelvio(CatalogueHost& host, QWidget* parent = nullptr);
    ~frmRestoreShelvio() override;

    FolderPickers& pickers() { return *m_pickers; }

private:
    void setUpControls();
    // Restore Data.
    void Command1_Click();
    // Checks the backup and puts it in the catalogue's place; ends the
    // program when done.
    void RestoreData(const QString& backupPath);
    void reportFailedReplacement(const QString& error);

    std::unique_ptr<Ui::frmRestoreShelvio> ui;
    CatalogueHost& m_host;
    FolderPickers* m_pickers = nullptr;
};

} // namespace shelvio
