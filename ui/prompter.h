#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace shelvio {

// Every message box, question and input box of both programs goes through
// this one interface, so the windows can be driven by a scripted answerer in
// tests.
class Prompter {
public:
    enum class Answer { Ok, Cancel, Yes, No };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

    virtual ~Prompter() = default;

    // A message with an OK button.
    virtual void inform(const QString& text, const QString& title) = 0;
    // A question; returns the button pressed (closing the box counts as
    // Cancel, or No where there is no Cancel).
    virtual Answer ask(const QString& text, const QString& title, Buttons buttons, Answer defaultButton) = 0;
    // An input box with an empty field; nothing when the user cancels.
    virtual std::optional<QString> askText(const QString& prompt, const QString& title) = 0;
};

// The real thing: QMessageBox and QInputDialog, with exactly the given texts,
// titles and buttons, and no icon.
class DialogPrompter : public Prompter {
public:
    explicit DialogPrompter(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }

    void setParent(QWidget* parent) { m_parent = parent; }

    void inform(const QString& text, const QString& title) override;
    Answer ask(const QString& text, const QString& title, Buttons buttons, Answer defaultButton) override;
    std::optional<QString> askText(const QString& prompt, const QString& title) override;

private:
    QWidget* m_parent;
};

} // namespace shelvio
