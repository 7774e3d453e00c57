#pragma once
// COPCDataView: the acquisition view ("Data Acquisition and Storage"). It shows the server
// attributes, the acquisition mode with its time window, the acquisition status and the
// decimals choice, the real-time list and the history list, and drives the acquisition
// engine with a one-second base timer. It owns the command bar's acquisition commands
// (Start, Resume, Stop, the data display, Clear, the backups and the colours) and the copy
// of the acquired data to the clipboard. It gets the engine it drives and the services at
// construction (both outlive it) and is the engine's observer for its whole life. Backups
// and copies run on workers; the base tick reports them.
// Thread rule: GUI thread only (the base timer fires on it; ticks never overlap).
#include <QColor>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/acquisition_engine.h"
#include "acquisition/backup_coordinator.h"
#include "acquisition/cell_colour.h"
#include "acquisition/gui/data_colour_commands.h"
#include "ui/command_ids.h"
#include "ui/thread_progress_dlg.h"
#include "ui/velmora_view.h"

struct AppContext;
class CAcquisitionForwarding;
class CAcquisitionModeBox;
class CBackupProgressDisplay;
class CNoticeQueue;

class CAcquisitionStatusBox;
class CHistoricalDataModel;
class CRealTimeDataModel;
class CServerAttributesBox;
class QAction;
class QSplitter;
class QTableView;
class QTimer;

class COPCDataView : public CVelmoraView, private IAcquisitionObserver {
  Q_OBJECT
 public:
  using ColourChooser = CDataColourCommands::ColourChooser;

  // The view becomes the engine's observer, reads its settings, performs the view reset
  // (unless the engine already holds an acquisition, which is shown as it is) and starts
  // the base timer. projectName gives the current project's name: the name root the backup
  // settings dialog proposes. On destruction the engine no longer calls the view.
  COPCDataView(CAcquisitionEngine& engine, AppContext& context,
               std::function<std::string()> projectName, QWidget* parent = nullptr);
  ~COPCDataView() override;

  CAcquisitionEngine& Engine() const { return m_engine; }
  bool IsAcquisitionRunning() const;

  // Close-project sequence: the engine's view reset, the mode from the engine, the lists
  // emptied and the server attributes refreshed.
  void ResetView() override;
  // Refreshes the server attributes.
  void OnViewShown() override;

  // The acquisition commands of the command bar.
  std::vector<CommandId> Commands() const override;
  void OnCommand(CommandId id) override;
  ViewCommandState CommandState(CommandId id) const override;

  // The backups and copies of the engine.
  CBackupCoordinator* Backups() const { return m_pBackups.get(); }
  CThreadProgressDlg* SaveProgressDialog() const;
  CThreadProgressDlg* CopyProgressDialog() const;
  QAction* CopyAction() const { return m_pCopyAction; }

  // "Always Show Last Acquired Data": the last data set is kept in sight.
  bool AlwaysShowLast() const { return m_bAlwaysShowLast; }

  // The colour commands ask this chooser (a QColorDialog unless replaced, as tests do).
  void SetColourChooser(ColourChooser chooser) { m_fnChooseColour = std::move(chooser); }
  const DataColours& Colours() const { return m_colourCommands.Colours(); }

  CServerAttributesBox* ServerBox() const { return m_pServerBox; }
  CAcquisitionModeBox* ModeBox() const { return m_pModeBox; }
  CAcquisitionStatusBox* StatusBox() const { return m_pStatusBox; }
  QTableView* RealTimeTable() const { return m_pRealTimeTable; }
  QTableView* HistoryTable() const { return m_pHistoryTable; }
  CRealTimeDataModel* RealTimeModel() const { return m_pRealTimeModel; }
  CHistoricalDataModel* HistoryModel() const { return m_pHistoryModel; }
  QTimer* BaseTimer() const { return m_pTimer; }

 public slots:
  // One base tick: the engine's cycle, then what it decided (the chart notice, a backup,
  // its reports), then the workers' progress.
  void OnBaseTick();
  // Command-bar commands.
  void StartAcquisition();
  void ResumeAcquisition();
  void StopAcquisition();
  void ToggleAlwaysShowLast();
  void ToggleReconnectOnServerLoss();
  void ShowFullyQualifiedId();
  void ShowShortId();
  void ClearOpcData();
  // "Backup OPC Data": the automatic settings, or the export dialog without a frequency.
  void BackupOpcData();
  // "Auto Backup Settings".
  void AutoBackupSettings();
  // Copies every data set to the clipboard (tab separated).
  void CopyToClipboard();

 signals:
  void RunningChanged(bool running);
  void AlwaysShowLastChanged(bool on);
  // The item headings changed (the chart's series names follow them).
  void HeadingsChanged();
  // The live chart's update notice, with the base period in ms.
  void ChartUpdate(quint32 basePeriodMs);
  // A backup is due: automatic (final false) or at the end of an acquisition.
  void BackupDue(bool final);
  // After every base tick (workers' progress is polled here).
  void TickDone();

 private:
  // IAcquisitionObserver
  void OnCycle(int elapsedMs, int dataSetCount, const std::string& nextAcquisition,
               const std::vector<int>& rewrittenRows) override;
  void OnListsReset() override;
  void OnTimeFieldsVisible(bool visible) override;
  void OnRunningChanged(bool running) override;
  void OnWindowEndAdjusted(int64_t windowEnd) override;
  void OnBackup(bool final) override;
  void OnServerAttributesChanged() override;
  void OnReconnectingChanged(bool reconnecting) override;

  void BuildLayout();
  // The first time the view is shown without a kept layout: the panes' share of the height.
  void SizePanesOnce();
  void Attach();
  void Detach();
  void RefreshAttributes();
  void RefreshHeadings();
  void SetTagDisplayType(int type);
  void ChooseColour(CommandId command);
  // The window from the pickers, handed to the engine before Start and Resume.
  void ApplyWindow();
  void FitColumns();
  void ShowModeFromEngine();
  // Asks the user the engine's confirmation: true for Ok.
  bool Confirm(const ReportRequest& request);

  CAcquisitionEngine& m_engine;
  AppContext& m_context;
  CRealTimeDataModel* m_pRealTimeModel = nullptr;
  CHistoricalDataModel* m_pHistoryModel = nullptr;
  ColourChooser m_fnChooseColour;
  std::function<std::string()> m_fnProjectName;
  CDataColourCommands m_colourCommands;
  // The tick's reports, one after another.
  CNoticeQueue* m_pNotices;
  std::unique_ptr<CBackupCoordinator> m_pBackups;
  // Forwarding to PostgreSQL (setting ForwardTo) beside the recording.
  std::unique_ptr<CAcquisitionForwarding> m_pForwarding;
  CBackupProgressDisplay* m_pProgress;  // the jobs' dialogs and the clipboard
  QAction* m_pCopyAction;
  bool m_bAlwaysShowLast = true;

  CServerAttributesBox* m_pServerBox;
  CAcquisitionModeBox* m_pModeBox;
  CAcquisitionStatusBox* m_pStatusBox;
  QSplitter* m_pSplitter;
  bool m_bPanesSized = false;
  QTableView* m_pRealTimeTable;
  QTableView* m_pHistoryTable;
  QTimer* m_pTimer;
};
