#pragma once

#include "frmbooklist.h"
#include "scriptedprompter.h"
#include "testcatalogue.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace shelvio {
class BookTreeView;
class FindPanel;
} // namespace shelvio

namespace testing {

// The editor's question before unsaved changes would be lost.
inline const QString unsavedChangesQuestion =
    QStringLiteral("You made some changes to this record.  Do you wish to save before Clearing the screen?");

// The editor's main window on a catalogue in a temporary program folder,
// answered by a scripted prompter.
class EditorHarness {
public:
    EditorHarness();
    ~EditorHarness();

    // Opens the window (the start-up steps); false when start-up refused.
    bool start(shelvio::Access access = shelvio::Access::ReadWrite);

    TestCatalogue& file() { return m_file; }
    ScriptedPrompter& prompter() { return m_prompter; }
    shelvio::frmBookList& window() { return *m_window; }

    template <class T> T* control(const char* name) const
    {
        return m_window->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* text(const char* name) const { return control<QLineEdit>(name); }
    QCheckBox* box(const char* name) const { return control<QCheckBox>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QRadioButton* option(const char* name) const { return control<QRadioButton>(name); }
    QListWidget* list(const char* name) const { return control<QListWidget>(name); }
    QPlainTextEdit* comments() const { return control<QPlainTextEdit>("txtComments"); }
    shelvio::BookTreeView* tree() const;
    QString countLabel() const { return control<QLabel>("lblBookCount")->text(); }

    // Types into a text box as a user would (the box's own edit signals).
    void type(const char* name, const QString& value);
    void click(const char* name);
    // Picks an ordering by clicking its option.
    void order(const char* option);
    // A double-click on the node with this key, as the tree reports it.
    void doubleClickNode(const QString& key);
    // The root keys and texts in the tree's order; children as "parent/key".
    QStringList rootTexts() const;
    QStringList childTexts(const QString& key) const;
    QStringList listEntries(const char* name) const;
    // The find bar: Ctrl+F opens it and the text is typed into it key by
    // key; the titles it lists, in its order, and what it says of them.
    shelvio::FindPanel* findBar() const;
    void find(const QString& text);
    QStringList foundTitles() const;
    QString foundCount() const;
    // A key pressed in the window, as its shortcuts see it.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The tree's current node as "Parent/Node" by their texts, or "Node".
    QString currentNodePath() const;

    // Selects the entry with this text in a list and double-clicks it.
    void doubleClickEntry(const char* list, const QString& entry);
    void selectEntry(const char* list, const QString& entry);

private:
    TestCatalogue m_file;
    ScriptedPrompter m_prompter;
    std::unique_ptr<shelvio::frmBookList> m_window;
};

} // namespace testing
