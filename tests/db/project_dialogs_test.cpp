// The two project dialogs driven like a user: the name dialog's confirmation before a
// replacement, its delayed pick-up of a selection, and the load dialog's refusal of a
// project whose class id is not a GUID.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTest>

#include "db/gui/get_project_dlg.h"
#include "db/gui/set_project_name_dlg.h"
#include "db/project_state.h"
#include "db/schema.h"
#include "db_test_util.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

QString Cell(const QTableView* view, int row, int column) {
  return view->model()->index(row, column).data().toString();
}

void DoubleClickRow(QTableView* view, int row) {
  const QRect cell = view->visualRect(view->model()->index(row, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

}  // namespace

class ProjectDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_dir = std::make_unique<TempDir>();
    m_ctx = std::make_unique<TestContext>();
    m_db = std::make_unique<CSQLite>(m_ctx->context);
    m_db->SetPath(m_dir->File("Velmora.sq3"));
    QCOMPARE(m_db->OpenFile(), DbStatus::kOk);
    QVERIFY(CreateSchema(*m_db));
    m_db->Close();
    RawConnection raw(m_dir->File("Velmora.sq3"));
    // Zeta (1) with two groups, Broken (2) whose class id is not a GUID, Mid (3).
    QCOMPARE(
        raw.Exec("INSERT INTO OPCPrj VALUES(1, 'Zeta', 'Velmora.SimServer.1', 'Local Host', "
                 "'6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01', '2026-12-01', '08:00:00');"
                 "INSERT INTO OPCPrj VALUES(2, 'Broken', 'Velmora.SimServer.1', 'Local Host', "
                 "'not-a-guid', '2026-12-02', '08:00:00');"
                 "INSERT INTO OPCPrj VALUES(3, 'Mid', 'Velmora.SimServerDA1.1', 'Local Host', "
                 "'6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e02', '2026-12-03', '08:00:00');"
                 "INSERT INTO OPCGrp VALUES(10, 1, 'Fast', 1, 500, 0, 0, 0);"
                 "INSERT INTO OPCGrp VALUES(11, 1, 'Idle', 0, 5000, 0, 0, 0);"
                 "INSERT INTO OPCGrp VALUES(12, 2, 'Lost', 1, 1000, 0, 0, 0);"
                 "INSERT INTO OPCItem VALUES(100, 10, 'Signals.Sine.R8', 'S', 'Signals.Sine.R8', "
                 "5, 0);"
                 "INSERT INTO OPCItem VALUES(101, 10, 'Twice', 'Twice', '2 * S', 4, 1);"
                 "INSERT INTO OPCItem VALUES(102, 11, 'Text.Comma', 'T', 'Text.Comma', 8, 0);"),
        SQLITE_OK);
  }
  void cleanup() {
    m_db.reset();
    m_ctx.reset();
    m_dir.reset();
  }

  void nameDialogShowsProjectsByNameAndTheCurrentOne() {
    CSetProjectNameDlg dialog(*m_db, m_ctx->prompt, "Mid");
    QAbstractItemModelTester tester(dialog.ProjectList()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    dialog.show();
    QCOMPARE(dialog.ProjectList()->model()->rowCount(), 3);
    QCOMPARE(Cell(dialog.ProjectList(), 0, 1), QString("Broken"));
    QCOMPARE(Cell(dialog.ProjectList(), 1, 1), QString("Mid"));
    QCOMPARE(Cell(dialog.ProjectList(), 2, 1), QString("Zeta"));
    QCOMPARE(dialog.ProjectList()->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(dialog.ProjectList()->selectionModel()->selectedRows().front().row(), 1);
    QCOMPARE(dialog.NameEdit()->text(), QString("Mid"));
    QVERIFY(dialog.OkButton()->isEnabled());
    QVERIFY(dialog.ProjectList()->showGrid());
    QCOMPARE(dialog.ProjectList()->selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(dialog.CountLabel()->text().contains("3"));
  }

  void replacingAnotherProjectAsksAndCancelKeepsTheDialogOpen() {
    CSetProjectNameDlg dialog(*m_db, m_ctx->prompt, "Mid");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.NameEdit()->clear();
    QTest::keyClicks(dialog.NameEdit(), "  Zeta ");
    m_ctx->prompt.messageAnswers = {MessageAnswer::kCancel, MessageAnswer::kOk};
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(m_ctx->prompt.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(m_ctx->prompt.messages[0].text),
             QString("Project Zeta Already Exists in Velmora Database !!! Please Confirm that you "
                     "want to replace existing project ? "));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(m_ctx->prompt.messages.size(), size_t(2));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(dialog.ChosenName()), QString("Zeta"));
  }

  void okFollowsTheTypedNameFromEmptyProject() {
    CSetProjectNameDlg dialog(*m_db, m_ctx->prompt, kEmptyProjectName);
    dialog.show();
    QVERIFY(!dialog.OkButton()->isEnabled());
    QVERIFY(dialog.ProjectList()->selectionModel()->selectedRows().isEmpty());
    dialog.NameEdit()->clear();
    QVERIFY(!dialog.OkButton()->isEnabled());
    QTest::keyClicks(dialog.NameEdit(), "   ");
    QVERIFY(!dialog.OkButton()->isEnabled());
    QTest::keyClicks(dialog.NameEdit(), "Night shift");
    QVERIFY(dialog.OkButton()->isEnabled());
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(dialog.ChosenName()), QString("Night shift"));
    QVERIFY(m_ctx->prompt.messages.empty());
  }

  void selectingARowCopiesItsNameAMomentLater() {
    CSetProjectNameDlg dialog(*m_db, m_ctx->prompt, kEmptyProjectName);
    dialog.show();
    dialog.ProjectList()->selectRow(2);
    QCOMPARE(dialog.NameEdit()->text(), QString("Empty Project"));  // not yet
    QTRY_COMPARE(dialog.NameEdit()->text(), QString("Zeta"));
    QVERIFY(dialog.OkButton()->isEnabled());
    QVERIFY(dialog.isVisible());
  }

  void doubleClickCopiesAndConfirmsAtOnce() {
    CSetProjectNameDlg dialog(*m_db, m_ctx->prompt, "Zeta");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    m_ctx->prompt.messageAnswers = {MessageAnswer::kOk};
    DoubleClickRow(dialog.ProjectList(), 1);
    QCOMPARE(dialog.NameEdit()->text(), QString("Mid"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(dialog.ChosenName()), QString("Mid"));
    // Mid is another project than the current one: asked once.
    QCOMPARE(m_ctx->prompt.messages.size(), size_t(1));
  }

  void loadDialogListsProjectsWithCountsAndTheSelectedContent() {
    CGetProjectDlg dialog(*m_db);
    QAbstractItemModelTester projects(dialog.ProjectList()->model(),
                                      QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester items(dialog.ItemList()->model(),
                                   QAbstractItemModelTester::FailureReportingMode::QtTest);
    dialog.show();
    QCOMPARE(dialog.Splitter()->count(), 3);
    QCOMPARE(dialog.SortChoice()->currentText(), QString("Project Name"));
    QCOMPARE(dialog.ProjectList()->model()->columnCount(), 9);
    QCOMPARE(dialog.ProjectList()->model()->headerData(5, Qt::Horizontal).toString(),
             QString("Group Count"));
    QCOMPARE(Cell(dialog.ProjectList(), 2, 1), QString("Zeta"));
    QCOMPARE(Cell(dialog.ProjectList(), 2, 5), QString("2"));
    QCOMPARE(Cell(dialog.ProjectList(), 2, 6), QString("3"));
    QVERIFY(!dialog.OkButton()->isEnabled());

    dialog.ProjectList()->selectRow(2);
    QVERIFY(dialog.OkButton()->isEnabled());
    QCOMPARE(dialog.ProjectName()->text(), QString("Zeta"));
    QCOMPARE(dialog.GroupList()->model()->rowCount(), 2);
    QCOMPARE(Cell(dialog.GroupList(), 1, 0), QString("Idle"));
    QCOMPARE(dialog.ItemList()->model()->rowCount(), 3);
    QCOMPARE(Cell(dialog.ItemList(), 1, 3), QString("Calculated Data"));
    QVERIFY(dialog.CountLabel()->text().contains("OPC Items: 3"));

    // Another order keeps the chosen project selected.
    dialog.SortChoice()->setCurrentIndex(0);
    QCOMPARE(Cell(dialog.ProjectList(), 0, 1), QString("Zeta"));
    QCOMPARE(dialog.ProjectList()->selectionModel()->selectedRows().front().row(), 0);
    QVERIFY(dialog.OkButton()->isEnabled());

    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Choice().m_nId, 1);
    QCOMPARE(QString::fromStdString(dialog.Choice().m_sServerId), QString("Velmora.SimServer.1"));
  }

  void projectWhoseClassIdIsNotAGuidCannotBeChosen() {
    CGetProjectDlg dialog(*m_db);
    dialog.show();
    dialog.ProjectList()->selectRow(1);  // Mid
    QVERIFY(dialog.OkButton()->isEnabled());
    dialog.ProjectList()->selectRow(0);  // Broken
    QVERIFY(!dialog.OkButton()->isEnabled());
    QCOMPARE(dialog.ProjectName()->text(), QString("Mid"));
    QCOMPARE(dialog.GroupList()->model()->rowCount(), 1);  // Mid's "There is No Data" note
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    DoubleClickRow(dialog.ProjectList(), 0);
    QVERIFY2(dialog.isVisible(), "a double click cannot choose it either");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

 private:
  std::unique_ptr<TempDir> m_dir;
  std::unique_ptr<TestContext> m_ctx;
  std::unique_ptr<CSQLite> m_db;
};

QTEST_MAIN(ProjectDialogsTest)
#include "project_dialogs_test.moc"
