#include "messages.h"

#include <QMessageBox>

namespace shelvio::reports {

void DialogMessages::error(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

} // namespace shelvio::reports
