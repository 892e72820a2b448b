#include "booktreemodel.h"

#include <QAbstractItemModelTester>
#include <QTest>

using shelvio::BookTreeModel;
using namespace Qt::StringLiterals;

class TestBookTreeModel : public QObject {
    Q_OBJECT
private slots:
    void keepsInsertionOrderAndRefusesDuplicates();
    void removesANodeWithItsChildren();
    void buildsGroupsInOneGo();
    void keysBooksByRowWhereABookStandsTwice();
};

void TestBookTreeModel::keepsInsertionOrderAndRefusesDuplicates()
{
    BookTreeModel tree;
    QVERIFY(tree.addRoot("T 3", "Zebra"));
    QVERIFY(tree.addRoot("T 1", "Apple"));
    QVERIFY(!tree.addRoot("T 3", "Again"));
    QVERIFY(tree.addRoot("ASmith, John", "Smith, John"));
    QVERIFY(tree.addChild("ASmith, John", "T 7", "Seven"));
    QVERIFY(!tree.addChild("ANobody, ", "T 8", "Orphan"));
    QVERIFY(!tree.addChild("ASmith, John", "T 1", "Duplicate"));
    QCOMPARE(tree.rootKeys(), (QStringList{"T 3", "T 1", "ASmith, John"}));
    QCOMPARE(tree.childKeys("ASmith, John"), QStringList{"T 7"});
    QCOMPARE(tree.text("T 3"), QStringLiteral("Zebra"));
    QCOMPARE(tree.parentKey("T 7"), QStringLiteral("ASmith, John"));
    QCOMPARE(tree.nodeCount(), 4);
    QCOMPARE(tree.rowCount(), 3);
}

void TestBookTreeModel::removesANodeWithItsChildren()
{
    BookTreeModel tree;
    tree.addRoot("A1", "First");
    tree.addChild("A1", "T 1", "one");
    tree.addChild("A1", "T 2", "two");
    tree.addRoot("A2", "Second");
    tree.addChild("A2", "T 3", "three");
    QVERIFY(tree.remove("T 1"));
    QCOMPARE(tree.childKeys("A1"), QStringList{"T 2"});
    QCOMPARE(tree.indexOf("T 2").row(), 0);
    QVERIFY(tree.remove("A1"));
    QVERIFY(!tree.contains("T 2"));
    QVERIFY(!tree.remove("A1"));
    QCOMPARE(tree.rootKeys(), QStringList{"A2"});
    QCOMPARE(tree.indexOf("A2").row(), 0);
    // A key that was removed can be added again.
    QVERIFY(tree.addChild("A2", "T 1", "one again"));
    QCOMPARE(tree.childKeys("A2"), (QStringList{"T 3", "T 1"}));
}

namespace {

// Books 1 to `count` titled "book 1"..., one row each in number order.
shelvio::BookListing listingOf(int count)
{
    shelvio::BookListing listing;
    for (int i = 0; i < count; ++i) {
        listing.ids.push_back(i + 1);
        listing.sortTitles.append(QStringLiteral("book %1").arg(i + 1));
        listing.rows.push_back(i);
    }
    return listing;
}

} // namespace

void TestBookTreeModel::buildsGroupsInOneGo()
{
    BookTreeModel tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Three books a group; the last group has the key of the first and joins it.
    std::vector<BookTreeModel::Group> groups;
    for (int i = 0; i < 50; ++i)
        groups.push_back({i * 3, QStringLiteral("A%1").arg(i), QStringLiteral("author %1").arg(i)});
    groups.push_back({150, QStringLiteral("A0"), QStringLiteral("again")});
    shelvio::BookListing listing = listingOf(152);
    tree.beginBuild();
    tree.endBuild(std::move(listing), BookTreeModel::BookKeys::ByNumber, groups);
    QCOMPARE(tree.rowCount(), 50);
    QCOMPARE(tree.nodeCount(), 202);
    QCOMPARE(tree.childKeys("A0"), (QStringList{"T 1", "T 2", "T 3", "T 151", "T 152"}));
    QCOMPARE(tree.text("A0"), QStringLiteral("author 0"));
    QCOMPARE(tree.parentKey("T 152"), QStringLiteral("A0"));
    QVERIFY(!tree.addChild("A1", "T 5", "again"));
    tree.remove("T 12");
    tree.remove("A3");
    QVERIFY(!tree.contains("T 11"));
    tree.addRoot("A99", "late");
    tree.addChild("A99", "T 999", "late book");
    tree.addChild("A0", "T 12", "moved");
    QCOMPARE(tree.rowCount(tree.indexOf("A1")), 3);
    QCOMPARE(tree.index(0, 0, tree.indexOf("A99")).data().toString(), QStringLiteral("late book"));
    QCOMPARE(tree.indexOf("T 12").row(), 5);
    QCOMPARE(tree.keyAt(tree.indexOf("T 12")), QStringLiteral("T 12"));
    QCOMPARE(tree.indexOf("A4").row(), 3);
    tree.clear();
    QCOMPARE(tree.rowCount(), 0);
    QVERIFY(!tree.contains("A0"));
}

// In the category ordering a book stands once for each of its categories,
// keyed by the row's number.
void TestBookTreeModel::keysBooksByRowWhereABookStandsTwice()
{
    BookTreeModel tree;
    shelvio::BookListing listing = listingOf(3);
    listing.rows = {0, 2, 0, 1};
    tree.beginBuild();
    tree.endBuild(std::move(listing), BookTreeModel::BookKeys::ByRowAndNumber,
                  {{0, "CArt", "Art"}, {2, "CPoetry", "Poetry"}});
    QCOMPARE(tree.childKeys("CArt"), (QStringList{" 0T~ 1", " 1T~ 3"}));
    QCOMPARE(tree.childKeys("CPoetry"), (QStringList{" 2T~ 1", " 3T~ 2"}));
    QCOMPARE(tree.text(" 2T~ 1"), QStringLiteral("book 1"));
    QVERIFY(!tree.contains(" 2T~ 2"));
    QVERIFY(!tree.contains("T 1"));
    QVERIFY(tree.remove(" 0T~ 1"));
    QCOMPARE(tree.childKeys("CArt"), QStringList{" 1T~ 3"});
    QCOMPARE(tree.nodeCount(), 5);
}

QTEST_GUILESS_MAIN(TestBookTreeModel)
#include "tst_booktreemodel.moc"
