#pragma once
// CPrjDataView: the data of one recorded acquisition ("Project OPC Data"): its summary and
// every recorded row, read in pages by a worker (the first rows at once, any row on demand;
// the rest walked once with a progress window), one column per item, each cell coloured by
// its marks; rows that could not be read are marked
// and counted in the summary and a report. Showing it loads again when the acquisition's
// rows or end changed since it was loaded. Ctrl+C and "Copy to Clipboard" copy
// the table. The export view and the project chart read the loaded table.
#include <QPointer>
#include <QTimer>
#include <memory>

#include "base/navigation_ids.h"
#include "ui/velmora_view.h"

class CLoadedTableModel;
class CProjectData;
class CThreadProgressDlg;
class IExplorerSession;
class CWorkerJobPoller;
class QLabel;
class QTableView;

class CPrjDataView : public CVelmoraView {
  Q_OBJECT
 public:
  // Before a load, the view waits this long after being shown.
  static constexpr int kShowDelayMs = 500;
  // While loading, new rows are announced to the table this often.
  static constexpr int kRowBatchMs = 100;

  // session (its database and services) outlives the view.
  explicit CPrjDataView(IExplorerSession& session, QWidget* parent = nullptr);
  ~CPrjDataView() override;

  // The acquisition to show (handed over by the navigation).
  void SetAcquisitionId(int acquisitionId) override;
  int AcquisitionId() const { return m_nAcquisitionId; }
  // Starts loading the requested acquisition now.
  void Load();
  bool IsLoading() const;
  // The loaded acquisition (-1 before the first load).
  int LoadedAcquisitionId() const;
  CProjectData* Data() const { return m_pData.get(); }
  // "Copy to Clipboard".
  void CopyToClipboard();

  void OnViewShown() override;
  std::vector<CommandId> Commands() const override;
  void OnCommand(CommandId id) override;
  ViewCommandState CommandState(CommandId id) const override;

  QTableView* DataTable() const { return m_pTable; }
  CLoadedTableModel* Model() const { return m_pModel.get(); }
  CThreadProgressDlg* ProgressWindow() const;
  QLabel* Summary(const char* label) const;
  // "K of N data sets could not be read" (hidden when all were read).
  QLabel* DamageLabel() const { return m_pDamage; }
  // How many loads were started (for tests).
  int LoadCount() const { return m_nLoads; }

 signals:
  // A load begins: the table is emptied for another acquisition.
  void LoadStarted(int acquisitionId);
  // A load ended (finished or failed).
  void LoadEnded(int acquisitionId);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Ctrl+C in the table copies the whole table, not the table's current cell.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnLoadTick(int32_t state);
  void ShowSummary();

  IExplorerSession* m_pSession;  // never null
  int m_nAcquisitionId = kNoAcquisition;
  int m_nLoads = 0;
  std::unique_ptr<CProjectData> m_pData;
  std::unique_ptr<CLoadedTableModel> m_pModel;
  std::unique_ptr<CWorkerJobPoller> m_pPoller;
  QPointer<CThreadProgressDlg> m_pProgress;
  QTimer m_showTimer;
  QTimer m_batchTimer;
  QTableView* m_pTable;
  QLabel* m_pDamage;
  std::vector<std::pair<const char*, QLabel*>> m_summary;
};
