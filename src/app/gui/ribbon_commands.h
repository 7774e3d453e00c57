#pragma once
// Every command of the command bar, by category and panel. Commands start disabled; the
// frame and each view enable and connect the ones they handle.
#include <QColor>
#include <QKeySequence>
#include <QStyle>
#include <vector>

enum class CommandId : int {
  Exit,
  LoadProject,
  SaveProject,
  CloseProject,
  SelectServer,
  DisconnectServer,
  AddGroup,
  RemoveGroup,
  AddItems,
  AddCalcItems,
  RemoveItem,
  StartAcquisition,
  ResumeAcquisition,
  StopAcquisition,
  OpcDataDisplay,
  AlwaysShowLastData,
  ShowFullyQualifiedId,
  ShowShortId,
  ReconnectOnServerLoss,
  ClearOpcData,
  BackupOpcData,
  AutoBackupSettings,
  StandardColor,
  BadQualityColor,
  InterpolatedColor,
  InactiveGroupColor,
  AcquisitionStatistics,
  ChartTitleOptions,
  ChartBackgroundColor,
  ChartSeriesSelection,
  LeftAxis,
  LeftAxisAutomatic,
  LeftAxisManual,
  LeftAxisSetRange,
  RightAxis,
  RightAxisAutomatic,
  RightAxisManual,
  RightAxisSetRange,
  LeftAxisAttributes,
  RightAxisAttributes,
  ChartLegendOptions,
  ChartSaveImage,
  ChartCopyToClipboard,
  DeleteProject,
  ViewProjectData,
  ExportData,
  ProjectCopyToClipboard,
  ShowStatusBar,
  HideStatusBar,
  ShowOutputPane,
  HideOutputPane,
  CaptionBar,
  ApplicationLook,
  CheckForUpdate,
  About,
  WebHomePage,
  WebSupport,
  WebDownloads,
  WebQuorix,
  Count
};
inline constexpr int kCommandCount = static_cast<int>(CommandId::Count);

struct RibbonCommandDef {
  CommandId id;
  const char* text;
  QStyle::StandardPixmap icon = QStyle::SP_CustomBase;  // SP_CustomBase: a colour swatch
  QColor swatch;                                        // the swatch of colour commands
  QKeySequence shortcut;
  std::vector<RibbonCommandDef> items;  // a command with a drop-down of sub-commands
};

struct RibbonPanelSpec {
  const char* title;
  std::vector<RibbonCommandDef> commands;
};

struct RibbonCategorySpec {
  const char* title;    // the category's name
  const char* tabText;  // the name with its keyboard mnemonic
  std::vector<RibbonPanelSpec> panels;
};

const std::vector<RibbonCategorySpec>& RibbonLayout();
