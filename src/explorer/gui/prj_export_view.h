#pragma once
// CPrjExportView: exports the recorded acquisition loaded in the data view ("Export Project
// Data"): its summary, the separator choice, a preview whose lines are built on demand
// (plain or aligned), and the CSV file written in one piece. Data sets that could not be
// read are told beside the row count and after the export.
#include <memory>

#include "base/navigation_ids.h"
#include "ui/velmora_view.h"

class CPreviewLinesModel;
class CPrjDataView;
class IExplorerSession;
class QCheckBox;
class QLabel;
class QListView;
class QPushButton;
class QRadioButton;

class CPrjExportView : public CVelmoraView {
  Q_OBJECT
 public:
  // The session and the data view whose table is exported, both outliving the view.
  CPrjExportView(IExplorerSession& session, CPrjDataView& dataView, QWidget* parent = nullptr);
  ~CPrjExportView() override;

  void SetAcquisitionId(int acquisitionId) override;
  int AcquisitionId() const { return m_nAcquisitionId; }
  int PreviewedAcquisitionId() const { return m_nPreviewedId; }
  char Separator() const;
  // Builds the preview from the data view's table (loading it first when it holds
  // another acquisition).
  void Preview();
  // "Export Data": the save dialog, then the file. True when a file was written. When the
  // acquisition changed since the data view loaded it, it is loaded again first and the
  // export follows the load (false now).
  bool Export();

  void OnViewShown() override;
  std::vector<CommandId> Commands() const override;
  void OnCommand(CommandId id) override;
  ViewCommandState CommandState(CommandId id) const override;

  QListView* PreviewList() const { return m_pPreview; }
  QRadioButton* SemicolonButton() const { return m_pSemicolon; }
  QRadioButton* CommaButton() const { return m_pComma; }
  QCheckBox* AlignedBox() const { return m_pAligned; }
  QLabel* RowCountLabel() const { return m_pRowCount; }
  QLabel* Summary(const char* label) const;

 private:
  void BuildPreview();

  IExplorerSession* m_pSession;  // never null
  CPrjDataView* m_pDataView;     // never null
  int m_nAcquisitionId = kNoAcquisition;
  int m_nPreviewedId = kNoAcquisition;
  bool m_bWaitingForLoad = false;
  bool m_bExportWhenLoaded = false;
  bool m_bJustLoaded = false;
  std::unique_ptr<CPreviewLinesModel> m_pModel;
  QRadioButton* m_pSemicolon;
  QRadioButton* m_pComma;
  QCheckBox* m_pAligned;
  QListView* m_pPreview;
  QLabel* m_pRowCount;
  QPushButton* m_pExport;
  std::vector<std::pair<const char*, QLabel*>> m_summary;
};
