#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class frmBackupShelvio;
}

namespace shelvio {

class CatalogueHost;
class FolderPickers;

// The backup window: the user picks a folder and Start Backup copies the
// catalogue file into it as Shelvo.bak.
class frmBackupShelvio : public QWidget {
    Q_OBJECT
public:
    explicit frmBackupShelvio(CatalogueHost& host, QWidget* parent = nullptr);
    ~frmBackupShelvio() override;

    FolderPickers& pickers() { return *m_pickers; }

private:
    void setUpControls();
    // Start Backup.
    void Command1_Click();

    std::unique_ptr<Ui::frmBackupShelvio> ui;
    CatalogueHost& m_host;
    FolderPickers* m_pickers = nullptr;
};

} // namespace shelvio
