// The history table over a long acquisition: rows in memory at once, older rows read a
// page at a time on a worker, stale pages dropped after a Clear.
#include <QAbstractItemModelTester>
#include <QBrush>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "../fake_row_reader.h"
#include "acquisition/gui/historical_data_model.h"

class HistoryModelTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    list = std::make_unique<HistoricalDataList>();
    list->Reset(2);
    reader = std::make_shared<CFakeRowReader>();
    list->SetRecording(reader, 10);
    FillStored(*list, 0, 600);
    model = std::make_unique<CHistoricalDataModel>(*list);
    tester = std::make_unique<QAbstractItemModelTester>(
        model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    model->SetHeadings({"A", "B"});
  }
  void cleanup() {
    reader->Hold(false);
    tester.reset();
    model.reset();
    list.reset();
  }

  void everyRowIsCountedAndOlderRowsArriveFromTheRecording() {
    QCOMPARE(model->rowCount(), 600);
    // A row in memory shows at once.
    QCOMPARE(model->data(model->index(595, 1), Qt::DisplayRole).toString(), QString("V1595"));
    // An older row shows once its page is read; the table is told.
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    QVERIFY(!model->data(model->index(3, 0), Qt::DisplayRole).isValid());
    QTRY_COMPARE(model->data(model->index(3, 0), Qt::DisplayRole).toString(), QString("T1003"));
    QVERIFY(changed.count() >= 1);
    QCOMPARE(model->data(model->index(300, 1), Qt::DisplayRole).toString(), QString());
    QTRY_COMPARE(model->data(model->index(300, 1), Qt::DisplayRole).toString(), QString("V1300"));
    // Its marks too: the interpolated colour.
    DataColours colours;
    model->SetColours(colours);
    QCOMPARE(model->data(model->index(300, 1), Qt::ForegroundRole).value<QBrush>().color(),
             model->data(model->index(595, 1), Qt::ForegroundRole).value<QBrush>().color());
    QTRY_COMPARE(model->PendingPages(), 0);
  }

  void aPageAskedForBeforeAClearIsNotShownAfterIt() {
    reader->Hold(true);
    QVERIFY(!model->data(model->index(5, 0), Qt::DisplayRole).isValid());
    reader->WaitForReads(1);
    list->Clear();
    FillStored(*list, 0, 600, 7000);
    model->ResetRows();
    reader->Hold(false);
    QTRY_COMPARE(model->data(model->index(5, 0), Qt::DisplayRole).toString(), QString("T7005"));
    QTRY_COMPARE(model->PendingPages(), 0);
    QCOMPARE(model->data(model->index(5, 0), Qt::DisplayRole).toString(), QString("T7005"));
  }

 private:
  std::unique_ptr<HistoricalDataList> list;
  std::shared_ptr<CFakeRowReader> reader;
  std::unique_ptr<CHistoricalDataModel> model;
  std::unique_ptr<QAbstractItemModelTester> tester;
};

QTEST_MAIN(HistoryModelTest)
#include "history_model_test.moc"
