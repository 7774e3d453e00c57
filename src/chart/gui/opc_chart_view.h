#pragma once
// COPCChartView: the chart view, in live mode (the running acquisition, "OPC Data
// Visualization") or project mode (a recorded acquisition, "Project Data Visualization").
// The logic lives in CChartViewModel; the view shows its fields, forwards the paging
// buttons and owns the chart commands of the command bar with their dialogs.
// Thread rule: GUI thread only.
#include <QColor>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "base/navigation_ids.h"
#include "chart/chart_row_source.h"
#include "chart/chart_view_model.h"
#include "ui/velmora_view.h"

struct AppContext;
class CAcquisitionEngine;
class CChartCtrl;
class CPrjDataView;
class CProjectData;
class QTimer;
class CSQLite;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class COPCChartView : public CVelmoraView {
  Q_OBJECT
 public:
  using ColourChooser =
      std::function<std::optional<QColor>(const QColor& initial, const QString& title)>;

  // The services and the data, all outliving the view: the database (item lists, recorded
  // rows); for the live chart the acquisition engine whose table it follows (null: the
  // view has no live data); for the project chart the data view whose table it reads when
  // that holds the acquisition shown (null: the chart always loads its own).
  COPCChartView(ChartMode mode, AppContext& context, CSQLite& db, CAcquisitionEngine* engine,
                CPrjDataView* dataView, QWidget* parent = nullptr);
  ~COPCChartView() override;

  void SetMode(ChartMode mode) override;
  ChartMode Mode() const { return m_mode; }
  // Project mode: the recorded acquisition to draw.
  void SetAcquisitionId(int acquisitionId) override;
  int AcquisitionId() const { return m_nAcquisitionId; }
  void ResetView() override;
  void OnViewShown() override;

  std::vector<CommandId> Commands() const override;
  void OnCommand(CommandId id) override;
  ViewCommandState CommandState(CommandId id) const override;

  // The background colour command drops down a palette whose "More Colors..." asks this
  // chooser (a QColorDialog unless replaced).
  void SetColourChooser(ColourChooser chooser) { m_fnChooseColour = std::move(chooser); }
  // The chart as its window shows it, each side rounded down to a multiple of 4.
  QImage ChartImage() const;
  // "Save Image to File" and "Copy to Clipboard".
  void SaveImage();
  void CopyImage();

  CChartViewModel* Model() const { return m_pModel.get(); }
  CChartCtrl* Chart() const { return m_pChart; }
  QPushButton* Button(int index) const { return m_pButtons[index]; }
  QPushButton* RealTimeButton() const { return m_pRealTime; }
  QPushButton* UpdateButton() const { return m_pUpdate; }
  QComboBox* SpanList() const { return m_pSpan; }
  QDateTimeEdit* PageStart() const { return m_pPageStart; }
  QDateTimeEdit* StartField() const { return m_pStart; }
  QDateTimeEdit* LastField() const { return m_pLast; }
  QLabel* LastLabel() const { return m_pLastLabel; }
  QLineEdit* PointsField() const { return m_pPoints; }

 public slots:
  // The acquisition's notice after each cycle, with the base period in ms.
  void OnChartUpdate(quint32 basePeriodMs);
  // The acquisition view switched between qualified and short ids (TagDisplayType): the
  // series take their names anew.
  void OnHeadingsChanged();

 private:
  enum NavButton { kFirst = 0, kPageBack, kBack, kForward, kPageForward, kLast, kButtonCount };

  void BuildLayout();
  // The model with its queries and hooks, created: span, background, the three axes.
  void CreateModel();
  void UpdateTexts();
  // The table of the mode; false when it cannot be had.
  bool ChooseSource();
  void ShowFields();
  void Navigate(int button);
  void OnUpdateChart();
  void OnRealTime();
  void OnSpanChanged(int position);
  void ChooseBackground();
  void OpenSeriesDialog();
  void OpenAxisDialog();
  void OpenAxisRangeDialog(int axis);
  void OpenLegendDialog();
  void OpenTitleDialog();
  void SetBackground(ChartColour colour, bool store);

  ChartMode m_mode;
  int m_nAcquisitionId = kNoAcquisition;
  AppContext* m_pContext;  // never null
  CSQLite* m_pDb;          // never null
  CAcquisitionEngine* m_pEngine;
  std::unique_ptr<CChartViewModel> m_pModel;
  std::unique_ptr<IChartRowSource> m_pSource;
  // Project mode: the data view, or the chart's own load when the data view holds
  // another acquisition; polled until the load ends.
  CPrjDataView* m_pDataView = nullptr;
  std::unique_ptr<CProjectData> m_pOwnData;
  QTimer* m_pLoadTimer = nullptr;
  ColourChooser m_fnChooseColour;
  bool m_bFillingFields = false;
  // What the fields last showed: the chart (enough rows) and the page start.
  bool m_bShowsChart = false;
  double m_dShownPageStart = -1.0;

  CChartCtrl* m_pChart = nullptr;
  QWidget* m_pFieldRow = nullptr;
  QDateTimeEdit* m_pStart = nullptr;
  QLabel* m_pLastLabel = nullptr;
  QDateTimeEdit* m_pLast = nullptr;
  QLineEdit* m_pPoints = nullptr;
  QPushButton* m_pButtons[kButtonCount] = {};
  QPushButton* m_pRealTime = nullptr;
  QDateTimeEdit* m_pPageStart = nullptr;
  QComboBox* m_pSpan = nullptr;
  QPushButton* m_pUpdate = nullptr;
  QLabel* m_pNoData = nullptr;
};
