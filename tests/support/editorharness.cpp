#include "editorharness.h"

#include "booktreeview.h"
#include "findpanel.h"

#include <QApplication>
#include <QTest>

namespace testing {

EditorHarness::EditorHarness()
    : m_window(std::make_unique<shelvio::frmBookList>(shelvio::locateCatalogue(m_file.folder()),
                                                      m_file.folder(), m_prompter))
{
}

EditorHarness::~EditorHarness() = default;

bool EditorHarness::start(shelvio::Access access)
{
    if (!m_window->load(access))
        return false;
    m_window->show();
    m_window->activateWindow();
    return QTest::qWaitForWindowActive(m_window.get());
}

shelvio::BookTreeView* EditorHarness::tree() const
{
    return control<shelvio::BookTreeView>("TreeView1");
}

void EditorHarness::type(const char* name, const QString& value)
{
    QLineEdit* box = text(name);
    box->selectAll();
    box->del();
    box->insert(value);
}

void EditorHarness::click(const char* name)
{
    QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
}

void EditorHarness::order(const char* option)
{
    click(option);
}

void EditorHarness::doubleClickNode(const QString& key)
{
    shelvio::BookTreeView* view = tree();
    const QModelIndex index = view->nodes().indexOf(key);
    view->setCurrentIndex(index);
    emit view->doubleClicked(index);
}

shelvio::FindPanel* EditorHarness::findBar() const
{
    return control<shelvio::FindPanel>("FindBar");
}

void EditorHarness::find(const QString& text)
{
    press(Qt::Key_F, Qt::ControlModifier);
    QLineEdit* box = findBar()->searchBox();
    box->clear();
    QTest::keyClicks(box, text);
}

QStringList EditorHarness::foundTitles() const
{
    const shelvio::FoundBooksModel& found = findBar()->found();
    QStringList titles;
    for (int row = 0; row < found.rowCount(); ++row)
        titles << found.bookAt(row).title;
    return titles;
}

QString EditorHarness::foundCount() const
{
    return control<QLabel>("lblFindCount")->text();
}

void EditorHarness::press(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : m_window.get();
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

QString EditorHarness::currentNodePath() const
{
    const QModelIndex current = tree()->currentIndex();
    const QString text = current.data().toString();
    return current.parent().isValid() ? current.parent().data().toString() + u'/' + text : text;
}

QStringList EditorHarness::rootTexts() const
{
    QStringList texts;
    for (const QString& key : tree()->nodes().rootKeys())
        texts << tree()->nodes().text(key);
    return texts;
}

QStringList EditorHarness::childTexts(const QString& key) const
{
    QStringList texts;
    for (const QString& child : tree()->nodes().childKeys(key))
        texts << tree()->nodes().text(child);
    return texts;
}

QStringList EditorHarness::listEntries(const char* name) const
{
    QStringList entries;
    for (int row = 0; row < list(name)->count(); ++row)
        entries << list(name)->item(row)->text();
    return entries;
}

void EditorHarness::selectEntry(const char* name, const QString& entry)
{
    QListWidget* widget = list(name);
    const auto found = widget->findItems(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        qFatal("no entry %s in %s", qPrintable(entry), name);
    widget->setCurrentItem(found.first());
}

void EditorHarness::doubleClickEntry(const char* name, const QString& entry)
{
    selectEntry(name, entry);
    QListWidget* widget = list(name);
    const QRect rect = widget->visualItemRect(widget->currentItem());
    // The item view only takes a double-click on the row that was pressed first.
    QTest::mousePress(widget->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseRelease(widget->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace testing
