#pragma once
// CPrjDatabaseView: the catalogue of recorded acquisitions ("Velmora Projects"): the keyed
// list in the chosen order, the details and items of the selected acquisition, its repair,
// "View Project Data" and "Delete Project". The acquisition selected here is the one the
// data, export and project chart views work on. The logic is CAcquisitionCatalogue's.
#include <QStandardItemModel>
#include <memory>

#include "base/navigation_ids.h"
#include "ui/velmora_view.h"

class CAcquisitionCatalogue;
class CTableListControl;
class IExplorerSession;
class QComboBox;
class QLabel;
class QTableView;

class CPrjDatabaseView : public CVelmoraView {
  Q_OBJECT
 public:
  // session (whose database is listed) outlives the view.
  explicit CPrjDatabaseView(IExplorerSession& session, QWidget* parent = nullptr);
  ~CPrjDatabaseView() override;

  // -1 while no acquisition is selected.
  int SelectedAcquisitionId() const override;

  // Fills the list again (on show and on a change of the sort choice).
  void Refresh();
  // Double click / "View Project Data" on a row.
  void ViewData(int row);
  // "Delete Project".
  void DeleteSelected();

  void OnViewShown() override;
  std::vector<CommandId> Commands() const override;
  void OnCommand(CommandId id) override;
  ViewCommandState CommandState(CommandId id) const override;

  QTableView* Catalogue() const { return m_pCatalogue; }
  QTableView* ItemList() const { return m_pItems; }
  QComboBox* SortChoice() const { return m_pSort; }
  QLabel* RowCountLabel() const { return m_pRowCount; }
  // The detail value shown for a label ("Server Id" ...); null when unknown.
  QLabel* Detail(const char* label) const;
  CAcquisitionCatalogue* Logic() const { return m_pCatalogue_.get(); }

 signals:
  // The acquisition is to be shown in the data view.
  void ViewProjectDataRequested(int acquisitionId);

 private:
  void OnRowSelected(int row);
  void ShowDetails();
  void ShowSelection();

  IExplorerSession* m_pSession;  // never null
  std::unique_ptr<CAcquisitionCatalogue> m_pCatalogue_;
  QStandardItemModel m_catalogueModel;
  QStandardItemModel m_itemModel;
  std::unique_ptr<CTableListControl> m_pCatalogueTarget;
  std::unique_ptr<CTableListControl> m_pItemTarget;
  QComboBox* m_pSort;
  QTableView* m_pCatalogue;
  QTableView* m_pItems;
  QLabel* m_pRowCount;
  std::vector<std::pair<const char*, QLabel*>> m_details;
  bool m_bFilling = false;
};
