#include "app/gui/ribbon_commands.h"

#include "base/settings.h"
#include "ui/colour_ref.h"

namespace {

using S = QStyle;

RibbonCommandDef Command(CommandId id, const char* text, S::StandardPixmap icon,
                         QKeySequence shortcut = {}) {
  return RibbonCommandDef{id, text, icon, QColor(), shortcut, {}};
}

RibbonCommandDef Swatch(CommandId id, const char* text, int32_t colorRef) {
  return RibbonCommandDef{
      id, text, S::SP_CustomBase, ColourFromColorRef(static_cast<uint32_t>(colorRef)), {}, {}};
}

RibbonCommandDef Menu(CommandId id, const char* text, S::StandardPixmap icon,
                      std::vector<RibbonCommandDef> items) {
  return RibbonCommandDef{id, text, icon, QColor(), {}, std::move(items)};
}

RibbonCommandDef Item(CommandId id, const char* text) {
  return RibbonCommandDef{id, text, S::SP_CustomBase, QColor(), {}, {}};
}

std::vector<RibbonCategorySpec> BuildLayout() {
  return {
      {"Home",
       "&Home",
       {{"Quit Velmora",
         {Command(CommandId::kExit, "Exit", S::SP_DialogCloseButton, QKeySequence::Quit)}}}},
      {"OPC Server",
       "&OPC Server",
       {{"Velmora Project",
         {Command(CommandId::kLoadProject, "Load Project", S::SP_DialogOpenButton,
                  QKeySequence::Open),
          Command(CommandId::kSaveProject, "Save Project", S::SP_DialogSaveButton,
                  QKeySequence::Save),
          Command(CommandId::kCloseProject, "Close Project", S::SP_DialogDiscardButton,
                  QKeySequence(Qt::CTRL | Qt::Key_W))}},
        {"OPC Server",
         {Command(CommandId::kSelectServer, "Select OPC Server", S::SP_ComputerIcon),
          Command(CommandId::kDisconnectServer, "Disconnect OPC Server", S::SP_BrowserStop)}},
        {"OPC Group",
         {Command(CommandId::kAddGroup, "Add OPC Group", S::SP_FileDialogNewFolder),
          Command(CommandId::kRemoveGroup, "Remove OPC Group", S::SP_DirClosedIcon)}},
        {"OPC Item",
         {Command(CommandId::kAddItems, "Add OPC Item(s)", S::SP_FileIcon),
          Command(CommandId::kAddCalcItems, "Add Calc. OPC Item(s)", S::SP_FileDialogContentsView),
          Command(CommandId::kRemoveItem, "Remove Item", S::SP_TrashIcon)}}}},
      {"Data Acquisition",
       "&Data Acquisition",
       {{"OPC Data Acquisition",
         {Command(CommandId::kStartAcquisition, "Start Data Acquisition", S::SP_MediaPlay,
                  QKeySequence(Qt::Key_F5)),
          Command(CommandId::kResumeAcquisition, "Resume Data Acquisition", S::SP_MediaSeekForward),
          Command(CommandId::kStopAcquisition, "Stop Data Acquisition", S::SP_MediaStop,
                  QKeySequence(Qt::SHIFT | Qt::Key_F5))}},
        {"OPC Data",
         {Menu(CommandId::kOpcDataDisplay, "OPC Data Display", S::SP_FileDialogDetailedView,
               {Item(CommandId::kAlwaysShowLastData, "Always Show Last Acquired Data"),
                Item(CommandId::kShowFullyQualifiedId, "Show Fully Qualified Identifier"),
                Item(CommandId::kShowShortId, "Show Short Identifier"),
                Item(CommandId::kReconnectOnServerLoss, "Reconnect on Server Loss")}),
          Command(CommandId::kClearOpcData, "Clear OPC Data", S::SP_DialogResetButton)}},
        {"Backup Data Saving",
         {Command(CommandId::kBackupOpcData, "Backup OPC Data", S::SP_DriveFDIcon),
          Command(CommandId::kAutoBackupSettings, "Auto Backup Settings", S::SP_BrowserReload)}},
        {"Data Type Color",
         {Swatch(CommandId::kStandardColour, "Standard Color",
                 settings::kStandardColor.defaultValue),
          Swatch(CommandId::kBadQualityColour, "Bad Data Quality",
                 settings::kBadQualityColor.defaultValue),
          Swatch(CommandId::kInterpolatedColour, "Interpolated Data Color",
                 settings::kInterpolatedColor.defaultValue),
          Swatch(CommandId::kInactiveGroupColour, "Inactive Group Color",
                 settings::kInactiveColor.defaultValue)}},
        {"Performance",
         {Command(CommandId::kAcquisitionStatistics, "Acquisition Statistics",
                  S::SP_FileDialogInfoView)}}}},
      {"OPC Data Chart",
       "OPC Data &Chart",
       {{"Chart Options",
         {Command(CommandId::kChartTitleOptions, "Chart Title Options", S::SP_FileDialogListView),
          Swatch(CommandId::kChartBackgroundColour, "Background Color",
                 settings::kChartBkgColor.defaultValue),
          Command(CommandId::kChartSeriesSelection, "Chart Series Selection",
                  S::SP_FileDialogDetailedView),
          Command(CommandId::kChartLegendOptions, "Chart Legend Options",
                  S::SP_FileDialogContentsView)}},
        {"Chart Axes",
         {Menu(CommandId::kLeftAxis, "Left Axis", S::SP_ArrowLeft,
               {Item(CommandId::kLeftAxisAutomatic, "Automatic Range"),
                Item(CommandId::kLeftAxisManual, "Manual Range"),
                Item(CommandId::kLeftAxisSetRange, "Set Axis Range"),
                Item(CommandId::kLeftAxisAttributes, "Axis Attributes...")}),
          Menu(CommandId::kRightAxis, "Right Axis", S::SP_ArrowRight,
               {Item(CommandId::kRightAxisAutomatic, "Automatic Range"),
                Item(CommandId::kRightAxisManual, "Manual Range"),
                Item(CommandId::kRightAxisSetRange, "Set Axis Range"),
                Item(CommandId::kRightAxisAttributes, "Axis Attributes...")})}},
        {"Chart Image",
         {Command(CommandId::kChartSaveImage, "Save Image to File", S::SP_DialogSaveButton),
          Command(CommandId::kChartCopyToClipboard, "Copy to Clipboard", S::SP_FileLinkIcon)}}}},
      {"Projects",
       "&Projects",
       {{"Velmora Projects",
         {Command(CommandId::kDeleteProject, "Delete Project", S::SP_TrashIcon),
          Command(CommandId::kViewProjectData, "View Project Data", S::SP_FileDialogContentsView)}},
        {"Project Data",
         {Command(CommandId::kExportData, "Export Data", S::SP_ArrowForward),
          Command(CommandId::kProjectCopyToClipboard, "Copy to Clipboard", S::SP_FileLinkIcon)}}}},
      {"View",
       "&View",
       {{"Status Bar Display",
         {Command(CommandId::kShowStatusBar, "Show the Status Bar", S::SP_DialogYesButton),
          Command(CommandId::kHideStatusBar, "Hide the Status Bar", S::SP_DialogNoButton)}},
        {"Output Pane Display",
         {Command(CommandId::kShowOutputPane, "Show the Output Pane", S::SP_DialogYesButton),
          Command(CommandId::kHideOutputPane, "Hide the Output Pane", S::SP_DialogNoButton)}},
        {"Caption Bar Display",
         {Command(CommandId::kCaptionBar, "Caption Bar Display", S::SP_TitleBarShadeButton)}},
        {"Visual Style",
         {Menu(CommandId::kApplicationLook, "Application Look", S::SP_DesktopIcon, {})}}}},
      {"Help",
       "He&lp",
       {{"Velmora Update",
         {Command(CommandId::kCheckForUpdate, "Check for Update", S::SP_BrowserReload)}},
        {"About", {Command(CommandId::kAbout, "About Velmora 2.0", S::SP_MessageBoxInformation)}},
        {"Quorix on the Web",
         {Command(CommandId::kWebHomePage, "Velmora Home Page", S::SP_DriveNetIcon,
                  QKeySequence::HelpContents),
          Command(CommandId::kWebSupport, "Velmora Support", S::SP_DialogHelpButton),
          Command(CommandId::kWebDownloads, "Velmora Downloads", S::SP_ArrowDown),
          Command(CommandId::kWebQuorix, "Quorix Web Site", S::SP_DirHomeIcon)}}}},
  };
}

}  // namespace

const std::vector<RibbonCategorySpec>& RibbonLayout() {
  static const std::vector<RibbonCategorySpec> layout = BuildLayout();
  return layout;
}
