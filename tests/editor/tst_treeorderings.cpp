// Every tree ordering, and the tree after a save or a delete in each, over a
// catalogue built to make names tie, held against the orderings as SQLite
// gives them ORDER BY the registered sort-key function.
#include "booktreeview.h"
#include "editorharness.h"
#include "nameforms.h"
#include "referenceorder.h"
#include "stresscatalogue.h"

#include <QTest>

using namespace shelvio;
using reference::TreeOrdering;
using testing::EditorHarness;

namespace {

// A tree as plain data: what the editor shows, or what it should show.
struct Tree {
    struct Node {
        QString key;
        QString text;
        std::vector<Node> children;
    };
    std::vector<Node> roots;

    Node* root(const QString& key)
    {
        for (Node& node : roots) {
            if (node.key == key)
                return &node;
        }
        return nullptr;
    }

    // The rule of the tree control: a row joins the group node that already
    // has its key, wherever it stands.
    void addToGroup(const QString& groupKey, const QString& groupText, const QString& key,
                    const QString& text)
    {
        Node* group = root(groupKey);
        if (!group) {
            roots.push_back({groupKey, groupText, {}});
            group = &roots.back();
        }
        group->children.push_back({key, text, {}});
    }

    // Removes the node with the key; a group node left empty goes with it.
    void removeBook(const QString& key)
    {
        for (auto root = roots.begin(); root != roots.end(); ++root) {
            if (root->key == key) {
                roots.erase(root);
                return;
            }
            auto& children = root->children;
            const auto child = std::find_if(children.begin(), children.end(),
                                            [&](const Node& node) { return node.key == key; });
            if (child == children.end())
                continue;
            children.erase(child);
            if (children.empty())
                roots.erase(root);
            return;
        }
    }

    // One line a node, children indented: a difference shows where it is.
    QStringList lines() const
    {
        QStringList all;
        for (const Node& node : roots) {
            all << node.key + QStringLiteral(" | ") + node.text;
            for (const Node& child : node.children)
                all << QStringLiteral("    ") + child.key + QStringLiteral(" | ") + child.text;
        }
        return all;
    }
};

// The tree the builders make from the rows of an ordering's query.
Tree referenceTree(const QString& path, TreeOrdering ordering)
{
    const auto rows = reference::treeRows(path, ordering);
    if (!rows)
        qFatal("reference rows: %s", qPrintable(rows.error().text()));
    Tree tree;
    qint64 number = 0;
    for (const reference::TreeRow& row : *rows) {
        if (ordering == TreeOrdering::ByTitle) {
            tree.roots.push_back({titleNodeKey(row.id), row.sortTitle, {}});
        } else if (ordering == TreeOrdering::ByAuthor) {
            const QString name = authorName(row.author, row.firstName);
            tree.addToGroup(authorNodeKey(name), name, titleNodeKey(row.id), row.sortTitle);
        } else {
            tree.addToGroup(categoryNodeKey(row.category), row.category, categoryBookNodeKey(number, row.id),
                            row.sortTitle);
        }
        ++number;
    }
    return tree;
}

Tree shownTree(const BookTreeModel& nodes)
{
    Tree tree;
    for (const QString& key : nodes.rootKeys()) {
        tree.roots.push_back({key, nodes.text(key), {}});
        for (const QString& child : nodes.childKeys(key))
            tree.roots.back().children.push_back({child, nodes.text(child), {}});
    }
    return tree;
}

const char* optionOf(TreeOrdering ordering)
{
    switch (ordering) {
    case TreeOrdering::ByTitle:
        return "optSortByTitle";
    case TreeOrdering::ByAuthor:
        return "optSortAuthor";
    case TreeOrdering::ByCategory:
        break;
    }
    return "optSortCategory";
}

// The key of the first node that shows the book.
QString nodeKeyOf(const Tree& tree, qint64 id, bool categoryOrdering)
{
    for (const Tree::Node& root : tree.roots) {
        if (bookIdFromNodeKey(root.key, categoryOrdering) == id && root.children.empty())
            return root.key;
        for (const Tree::Node& child : root.children) {
            if (bookIdFromNodeKey(child.key, categoryOrdering) == id)
                return child.key;
        }
    }
    qFatal("book %lld is not in the tree", static_cast<long long>(id));
}

enum class Edit {
    NewBookNewAuthor,
    NewBookAuthorOnFile,
    TitleChanged,
    AuthorChangedToOneOnFile,
    AuthorsLastBookMoved,
    CategoriesChanged,
    DeleteOneOfSeveral,
    DeleteAuthorsLastBook,
};

struct AuthorCounts {
    QHash<QString, int> books; // by author node key
    qint64 alone = 0;          // a book that is its author's only one
    qint64 withOthers = 0;     // a book whose author has others
};

AuthorCounts countAuthors(const QString& path)
{
    AuthorCounts counts;
    const auto rows = reference::treeRows(path, TreeOrdering::ByAuthor);
    for (const reference::TreeRow& row : *rows)
        ++counts.books[authorName(row.author, row.firstName)];
    for (const reference::TreeRow& row : *rows) {
        const int books = counts.books.value(authorName(row.author, row.firstName));
        if (books == 1 && !counts.alone)
            counts.alone = row.id;
        if (books > 2 && !counts.withOthers)
            counts.withOthers = row.id;
    }
    return counts;
}

} // namespace

class TestTreeOrderings : public QObject {
    Q_OBJECT
private slots:
    void everyOrderingAsTheReference_data();
    void everyOrderingAsTheReference();
    void treeAfterSaveOrDelete_data();
    void treeAfterSaveOrDelete();
};

void TestTreeOrderings::everyOrderingAsTheReference_data()
{
    QTest::addColumn<TreeOrdering>("ordering");
    QTest::newRow("title") << TreeOrdering::ByTitle;
    QTest::newRow("author") << TreeOrdering::ByAuthor;
    QTest::newRow("category") << TreeOrdering::ByCategory;
}

void TestTreeOrderings::everyOrderingAsTheReference()
{
    QFETCH(TreeOrdering, ordering);
    EditorHarness editor;
    testing::fillStressCatalogue(editor.file());
    QVERIFY(editor.start());
    editor.order(optionOf(ordering));
    QCOMPARE(shownTree(editor.tree()->nodes()).lines(),
             referenceTree(editor.file().path(), ordering).lines());
    const qint64 books = editor.file().scalar(QStringLiteral("SELECT count(*) FROM Books")).toLongLong();
    QCOMPARE(editor.countLabel(), QStringLiteral("%1 Books on File.").arg(books));
    QVERIFY(editor.prompter().prompts().isEmpty());
}

void TestTreeOrderings::treeAfterSaveOrDelete_data()
{
    QTest::addColumn<TreeOrdering>("ordering");
    QTest::addColumn<Edit>("edit");
    const std::pair<const char*, Edit> edits[] = {
        {"new book, new author", Edit::NewBookNewAuthor},
        {"new book, author on file", Edit::NewBookAuthorOnFile},
        {"title changed", Edit::TitleChanged},
        {"author changed to one on file", Edit::AuthorChangedToOneOnFile},
        {"an author's last book moved", Edit::AuthorsLastBookMoved},
        {"categories changed", Edit::CategoriesChanged},
        {"delete one of several", Edit::DeleteOneOfSeveral},
        {"delete an author's last book", Edit::DeleteAuthorsLastBook},
    };
    const std::pair<const char*, TreeOrdering> orderings[] = {{"title", TreeOrdering::ByTitle},
                                                              {"author", TreeOrdering::ByAuthor},
                                                              {"category", TreeOrdering::ByCategory}};
    for (const auto& [orderingName, ordering] : orderings) {
        for (const auto& [editName, edit] : edits)
            QTest::addRow("%s: %s", orderingName, editName) << ordering << edit;
    }
}

void TestTreeOrderings::treeAfterSaveOrDelete()
{
    QFETCH(TreeOrdering, ordering);
    QFETCH(Edit, edit);
    EditorHarness editor;
    testing::fillStressCatalogue(editor.file());
    const QString path = editor.file().path();
    QVERIFY(editor.start());
    editor.order(optionOf(ordering));
    Tree expected = referenceTree(path, ordering);
    const bool byCategory = ordering == TreeOrdering::ByCategory;
    const AuthorCounts authors = countAuthors(path);

    const bool isNew = edit == Edit::NewBookNewAuthor || edit == Edit::NewBookAuthorOnFile;
    const bool deleting = edit == Edit::DeleteOneOfSeveral || edit == Edit::DeleteAuthorsLastBook;
    const qint64 id = (edit == Edit::AuthorsLastBookMoved || edit == Edit::DeleteAuthorsLastBook)
                          ? authors.alone
                          : authors.withOthers;
    QVERIFY(authors.alone && authors.withOthers);
    if (isNew) {
        editor.click("Command4"); // Clear Screen
    } else {
        editor.doubleClickNode(nodeKeyOf(expected, id, byCategory));
        QCOMPARE(editor.text("txtBookID")->text(), QString::number(id));
    }
    const QString loadedTitle = editor.text("txtTitle")->text();
    switch (edit) {
    case Edit::NewBookNewAuthor:
        editor.type("txtTitle", QStringLiteral("Ǆ a new book"));
        editor.type("txtAuthor", QStringLiteral("Newman"));
        editor.type("txtAuthorFirstName", QStringLiteral("Ann"));
        editor.doubleClickEntry("lstCategories", QStringLiteral("Zoo"));
        break;
    case Edit::NewBookAuthorOnFile:
        editor.type("txtTitle", QStringLiteral("apple"));
        editor.type("txtAuthor", QStringLiteral("Smith"));
        editor.type("txtAuthorFirstName", QStringLiteral("John"));
        editor.doubleClickEntry("lstCategories", QStringLiteral("Fiction"));
        break;
    case Edit::TitleChanged:
        editor.type("txtTitle", QStringLiteral("The émile renamed"));
        break;
    case Edit::AuthorChangedToOneOnFile:
    case Edit::AuthorsLastBookMoved:
        editor.type("txtAuthor", QStringLiteral("Zola"));
        editor.type("txtAuthorFirstName", QStringLiteral("Elise"));
        break;
    case Edit::CategoriesChanged:
        if (editor.listEntries("lstCategories").contains(QStringLiteral("Art")))
            editor.doubleClickEntry("lstCategories", QStringLiteral("Art"));
        else
            editor.doubleClickEntry("lstCategoriesSelected", QStringLiteral("Art"));
        break;
    case Edit::DeleteOneOfSeveral:
    case Edit::DeleteAuthorsLastBook:
        break;
    }
    const QString typedTitle = editor.text("txtTitle")->text();
    const QString typedAuthor = editor.text("txtAuthor")->text();
    const QString typedFirstName = editor.text("txtAuthorFirstName")->text();
    const bool namesChanged = edit == Edit::AuthorChangedToOneOnFile || edit == Edit::AuthorsLastBookMoved;
    if (deleting) {
        editor.prompter().queueAnswer(Prompter::Answer::Yes);
        editor.click("Command3");
    } else {
        editor.click("Command1");
    }
    QCOMPARE(editor.prompter().unansweredQuestions(), 0);
    const qint64 saved =
        isNew ? editor.file().scalar(QStringLiteral("SELECT max(BookID) FROM Books")).toLongLong() : id;

    // What the upkeep of single nodes leaves; the category ordering is built again.
    const QString bookKey = titleNodeKey(saved);
    if (byCategory) {
        expected = referenceTree(path, ordering);
    } else if (deleting) {
        expected.removeBook(bookKey);
    } else if (ordering == TreeOrdering::ByTitle && (isNew || typedTitle != loadedTitle)) {
        expected.removeBook(bookKey);
        expected.roots.push_back({bookKey, sortTitle(typedTitle), {}});
    } else if (ordering == TreeOrdering::ByAuthor && (isNew || namesChanged || typedTitle != loadedTitle)) {
        expected.removeBook(bookKey);
        const QString name = authorName(typedAuthor, typedFirstName);
        expected.addToGroup(authorNodeKey(name), name, bookKey, sortTitle(typedTitle));
    }
    QCOMPARE(shownTree(editor.tree()->nodes()).lines(), expected.lines());
}

QTEST_MAIN(TestTreeOrderings)
#include "tst_treeorderings.moc"
