// The Qt list adapter filled by CSQLite::UpdateListCtrl.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QTest>

#include "db/gui/table_list_control.h"
#include "db/sqlite_db.h"
#include "db_test_util.h"
#include "temp_dir.h"
#include "test_context.h"

class TableListControlTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    RawConnection raw(m_dir.File("Velmora.sq3"));
    raw.Exec(
        "CREATE TABLE t(id INTEGER, name TEXT, level FLOAT);"
        "INSERT INTO t VALUES(11, 'Boiler', 0.5); INSERT INTO t VALUES(42, 'Pump with a long "
        "name', 2);");
  }

  void keyedResultFillsHeadersCellsAndItemData() {
    QStandardItemModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QTableView view;
    view.setModel(&model);
    CTableListControl list(model, &view);
    TestContext ctx;
    CSQLite db(ctx.context);
    db.SetPath(m_dir.File("Velmora.sq3"));
    QCOMPARE(db.UpdateListCtrl("SELECT id, name AS 'Item Name', level FROM t ORDER BY id", list,
                               ListCtrlForm::kKeyed, SqlRun{true, true})
                 .Value(),
             2);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Item Name"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("level"));
    QCOMPARE(model.item(1, 0)->text(), QString("Pump with a long name"));
    QCOMPARE(model.item(0, 1)->text(), QString("0.500000"));
    QCOMPARE(CTableListControl::ItemData(model, 0), qint64(11));
    QCOMPARE(CTableListControl::ItemData(model, 1), qint64(42));
    QCOMPARE(CTableListControl::ItemData(model, 7), qint64(0));
    QVERIFY(!(model.item(0, 0)->flags() & Qt::ItemIsEditable));
    // Fitted to the longest cell, wider than the 50 it started with.
    QVERIFY(view.columnWidth(0) > 50);
  }

  void refillReplacesEverythingAndEmptyResultShowsTheNote() {
    QStandardItemModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    CTableListControl list(model);
    TestContext ctx;
    CSQLite db(ctx.context);
    db.SetPath(m_dir.File("Velmora.sq3"));
    QCOMPARE(db.UpdateListCtrl("SELECT * FROM t", list, ListCtrlForm::kPlain, SqlRun{true, true})
                 .Value(),
             2);
    QCOMPARE(model.columnCount(), 3);
    const DbResult<int> empty = db.UpdateListCtrl("SELECT * FROM t WHERE id < 0", list,
                                                  ListCtrlForm::kPlain, SqlRun{true, true});
    QVERIFY(empty.Ok());
    QCOMPARE(empty.Value(), 0);
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Empty Table"));
    QCOMPARE(model.item(0, 0)->text(), QString("There is No Data to Show ..."));
  }

 private:
  TempDir m_dir;
};

QTEST_MAIN(TableListControlTest)
#include "table_list_control_test.moc"
