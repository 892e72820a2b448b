#include "booktreemodel.h"

#include <QAbstractItemModelTester>
#include <QTest>

using shelvio::BookTreeModel;

class TestBookTreeModel : public QObject {
    Q_OBJECT
private slots:
    void keepsInsertionOrderAndRefusesDuplicates();
    void removesANodeWithItsChildren();
    void staysConsistentForViews();
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

void TestBookTreeModel::staysConsistentForViews()
{
    BookTreeModel tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree.beginBuild();
    for (int i = 0; i < 50; ++i) {
        const QString author = QStringLiteral("A%1").arg(i);
        tree.addRoot(author, author);
        for (int j = 0; j < 3; ++j)
            tree.addChild(author, QStringLiteral("T %1").arg(i * 10 + j), QStringLiteral("book"));
    }
    tree.endBuild();
    tree.remove("T 12");
    tree.remove("A3");
    tree.addRoot("A99", "late");
    tree.addChild("A99", "T 999", "late book");
    tree.addChild("A0", "T 998", "another");
    QCOMPARE(tree.rowCount(tree.indexOf("A1")), 2);
    QCOMPARE(tree.index(0, 0, tree.indexOf("A99")).data().toString(), QStringLiteral("late book"));
    tree.clear();
    QCOMPARE(tree.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestBookTreeModel)
#include "tst_booktreemodel.moc"
