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
         {Command(CommandId::Exit, "Exit", S::SP_DialogCloseButton, QKeySequence::Quit)}}}},
      {"OPC Server",
       "&OPC Server",
       {{"Velmora Project",
         {Command(CommandId::LoadProject, "Load Project", S::SP_DialogOpenButton,
                  QKeySequence::Open),
          Command(CommandId::SaveProject, "Save Project", S::SP_DialogSaveButton,
                  QKeySequence::Save),
          Command(CommandId::CloseProject, "Close Project", S::SP_DialogDiscardButton,
                  QKeySequence(Qt::CTRL | Qt::Key_W))}},
        {"OPC Server",
         {Command(CommandId::SelectServer, "Select OPC Server", S::SP_ComputerIcon),
          Command(CommandId::DisconnectServer, "Disconnect OPC Server", S::SP_BrowserStop)}},
        {"OPC Group",
         {Command(CommandId::AddGroup, "Add OPC Group", S::SP_FileDialogNewFolder),
          Command(CommandId::RemoveGroup, "Remove OPC Group", S::SP_DirClosedIcon)}},
        {"OPC Item",
         {Command(CommandId::AddItems, "Add OPC Item(s)", S::SP_FileIcon),
          Command(CommandId::AddCalcItems, "Add Calc. OPC Item(s)", S::SP_FileDialogContentsView),
          Command(CommandId::RemoveItem, "Remove Item", S::SP_TrashIcon)}}}},
      {"Data Acquisition",
       "&Data Acquisition",
       {{"OPC Data Acquisition",
         {Command(CommandId::StartAcquisition, "Start Data Acquisition", S::SP_MediaPlay,
                  QKeySequence(Qt::Key_F5)),
          Command(CommandId::ResumeAcquisition, "Resume Data Acquisition", S::SP_MediaSeekForward),
          Command(CommandId::StopAcquisition, "Stop Data Acquisition", S::SP_MediaStop,
                  QKeySequence(Qt::SHIFT | Qt::Key_F5))}},
        {"OPC Data",
         {Menu(CommandId::OpcDataDisplay, "OPC Data Display", S::SP_FileDialogDetailedView,
               {Item(CommandId::AlwaysShowLastData, "Always Show Last Acquired Data"),
                Item(CommandId::ShowFullyQualifiedId, "Show Fully Qualified Identifier"),
                Item(CommandId::ShowShortId, "Show Short Identifier"),
                Item(CommandId::ReconnectOnServerLoss, "Reconnect on Server Loss")}),
          Command(CommandId::ClearOpcData, "Clear OPC Data", S::SP_DialogResetButton)}},
        {"Backup Data Saving",
         {Command(CommandId::BackupOpcData, "Backup OPC Data", S::SP_DriveFDIcon),
          Command(CommandId::AutoBackupSettings, "Auto Backup Settings", S::SP_BrowserReload)}},
        {"Data Type Color",
         {Swatch(CommandId::StandardColor, "Standard Color", settings::kStandardColor.defaultValue),
          Swatch(CommandId::BadQualityColor, "Bad Data Quality",
                 settings::kBadQualityColor.defaultValue),
          Swatch(CommandId::InterpolatedColor, "Interpolated Data Color",
                 settings::kInterpolatedColor.defaultValue),
          Swatch(CommandId::InactiveGroupColor, "Inactive Group Color",
                 settings::kInactiveColor.defaultValue)}},
        {"Performance",
         {Command(CommandId::AcquisitionStatistics, "Acquisition Statistics",
                  S::SP_FileDialogInfoView)}}}},
      {"OPC Data Chart",
       "OPC Data &Chart",
       {{"Chart Options",
         {Command(CommandId::ChartTitleOptions, "Chart Title Options", S::SP_FileDialogListView),
          Swatch(CommandId::ChartBackgroundColor, "Background Color",
                 settings::kChartBkgColor.defaultValue),
          Command(CommandId::ChartSeriesSelection, "Chart Series Selection",
                  S::SP_FileDialogDetailedView),
          Command(CommandId::ChartLegendOptions, "Chart Legend Options",
                  S::SP_FileDialogContentsView)}},
        {"Chart Axes",
         {Menu(CommandId::LeftAxis, "Left Axis", S::SP_ArrowLeft,
               {Item(CommandId::LeftAxisAutomatic, "Automatic Range"),
                Item(CommandId::LeftAxisManual, "Manual Range"),
                Item(CommandId::LeftAxisSetRange, "Set Axis Range"),
                Item(CommandId::LeftAxisAttributes, "Axis Attributes...")}),
          Menu(CommandId::RightAxis, "Right Axis", S::SP_ArrowRight,
               {Item(CommandId::RightAxisAutomatic, "Automatic Range"),
                Item(CommandId::RightAxisManual, "Manual Range"),
                Item(CommandId::RightAxisSetRange, "Set Axis Range"),
                Item(CommandId::RightAxisAttributes, "Axis Attributes...")})}},
        {"Chart Image",
         {Command(CommandId::ChartSaveImage, "Save Image to File", S::SP_DialogSaveButton),
          Command(CommandId::ChartCopyToClipboard, "Copy to Clipboard", S::SP_FileLinkIcon)}}}},
      {"Projects",
       "&Projects",
       {{"Velmora Projects",
         {Command(CommandId::DeleteProject, "Delete Project", S::SP_TrashIcon),
          Command(CommandId::ViewProjectData, "View Project Data", S::SP_FileDialogContentsView)}},
        {"Project Data",
         {Command(CommandId::ExportData, "Export Data", S::SP_ArrowForward),
          Command(CommandId::ProjectCopyToClipboard, "Copy to Clipboard", S::SP_FileLinkIcon)}}}},
      {"View",
       "&View",
       {{"Status Bar Display",
         {Command(CommandId::ShowStatusBar, "Show the Status Bar", S::SP_DialogYesButton),
          Command(CommandId::HideStatusBar, "Hide the Status Bar", S::SP_DialogNoButton)}},
        {"Output Pane Display",
         {Command(CommandId::ShowOutputPane, "Show the Output Pane", S::SP_DialogYesButton),
          Command(CommandId::HideOutputPane, "Hide the Output Pane", S::SP_DialogNoButton)}},
        {"Caption Bar Display",
         {Command(CommandId::CaptionBar, "Caption Bar Display", S::SP_TitleBarShadeButton)}},
        {"Visual Style",
         {Menu(CommandId::ApplicationLook, "Application Look", S::SP_DesktopIcon, {})}}}},
      {"Help",
       "He&lp",
       {{"Velmora Update",
         {Command(CommandId::CheckForUpdate, "Check for Update", S::SP_BrowserReload)}},
        {"About", {Command(CommandId::About, "About Velmora 2.0", S::SP_MessageBoxInformation)}},
        {"Quorix on the Web",
         {Command(CommandId::WebHomePage, "Velmora Home Page", S::SP_DriveNetIcon,
                  QKeySequence::HelpContents),
          Command(CommandId::WebSupport, "Velmora Support", S::SP_DialogHelpButton),
          Command(CommandId::WebDownloads, "Velmora Downloads", S::SP_ArrowDown),
          Command(CommandId::WebQuorix, "Quorix Web Site", S::SP_DirHomeIcon)}}}},
  };
}

}  // namespace

const std::vector<RibbonCategorySpec>& RibbonLayout() {
  static const std::vector<RibbonCategorySpec> layout = BuildLayout();
  return layout;
}
