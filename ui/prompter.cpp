#include "prompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace shelvio {

namespace {

QMessageBox::StandardButton standardButton(Prompter::Answer answer)
{
    switch (answer) {
    case Prompter::Answer::Ok:
        return QMessageBox::Ok;
    case Prompter::Answer::Cancel:
        return QMessageBox::Cancel;
    case Prompter::Answer::Yes:
        return QMessageBox::Yes;
    case Prompter::Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButtons standardButtons(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

void DialogPrompter::inform(const QString& text, const QString& title)
{
    ask(text, title, Buttons::Ok, Answer::Ok);
}

Prompter::Answer DialogPrompter::ask(const QString& text, const QString& title, Buttons buttons,
                                     Answer defaultButton)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, standardButtons(buttons), m_parent);
    box.setDefaultButton(standardButton(defaultButton));
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Escape or the close box: Cancel where there is one, else the
        // answer that changes nothing.
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

std::optional<QString> DialogPrompter::askText(const QString& prompt, const QString& title)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace shelvio
