#include "chart/gui/chart_image_export.h"

#include <QStringList>
#include <filesystem>

#include "base/app_context.h"
#include "base/database_files.h"
#include "base/log.h"
#include "base/settings.h"
#include "chart/chart_image_rules.h"
#include "chart/gui/chart_ctrl.h"
#include "chart/gui/chart_image.h"

namespace {

constexpr char kDialogTitle[] = "Save Chart to Image File";
constexpr char kNoEncoder[] = "No Jpeg Encoder in GDI+ .... ";
constexpr char kSaveFailed[] = "Unable to Save Chart Image File %s ... Cause: %s";

// "jpeg (*.jpg)|*.jpg|png (*.png)|*.png|...": the encoders, the stored type first.
std::string TypeFilter(const QStringList& types, const std::string& stored) {
  QStringList ordered = types;
  if (ordered.removeAll(QString::fromStdString(stored)) > 0)
    ordered.prepend(QString::fromStdString(stored));
  std::string filter;
  for (const QString& type : ordered) {
    const std::string pattern = "*" + ChartImageExtension(type.toStdString());
    if (!filter.empty())
      filter += "|";
    filter += type.toStdString() + " (" + pattern + ")|" + pattern;
  }
  return filter;
}

// The type the chosen name selects by its extension ("jpg" selects jpeg); empty when none.
std::string SelectedType(const std::string& name, const QStringList& types) {
  const std::string extension = std::filesystem::path(name).extension().string();
  for (const QString& type : types) {
    if (ChartImageExtension(type.toStdString()) == extension)
      return type.toStdString();
  }
  return {};
}

}  // namespace

QImage RenderChartWindow(CChartCtrl& chart) {
  return RenderChartModel(chart.Model(), chart.size());
}

bool ExportChartImage(CChartCtrl& chart, AppContext& context, const std::string& databasePath) {
  const QStringList types = ChartImageTypes();
  const std::string stored = settings::Read(context.settings, settings::kSaveGraphImgExt);
  FileRequest request;
  request.save = true;
  request.title = kDialogTitle;
  request.initialPath =
      ChartImageFolder(settings::Read(context.settings, settings::kSaveGraphImgPath),
                       std::filesystem::path(databasePath).parent_path().string());
  request.filter = TypeFilter(types, stored);
  request.defaultExtension = ChartImageExtension(stored);
  request.mustExist = false;
  request.confirmOverwrite = false;  // asked below, with the file's size and times
  const std::optional<std::string> chosen = context.prompt.ChooseFile(request);
  if (!chosen || chosen->empty())
    return false;
  const std::filesystem::path chosenPath(*chosen);
  const std::string folder = chosenPath.parent_path().string();
  const std::string type = ChartImageType(SelectedType(chosenPath.filename().string(), types));
  settings::Write(context.settings, settings::kSaveGraphImgPath, folder);
  settings::Write(context.settings, settings::kSaveGraphImgExt, type);
  const std::string path =
      ChartImagePath(folder, ChartImageFileName(chosenPath.filename().string(), type));

  if (IsDatabaseFile(path, databasePath)) {
    context.prompt.ShowMessage(Format(kSaveFailed, path.c_str(), kDatabaseTargetCause),
                               MessageButtons::Ok, MessageIcon::Error);
    return false;
  }
  const std::string question = ChartReplaceQuestion(path);
  if (!question.empty() && context.prompt.ShowMessage(question, MessageButtons::OkCancel,
                                                      MessageIcon::Question) != MessageAnswer::Ok)
    return false;
  const QImage image = RenderChartWindow(chart);
  if (image.isNull())
    return false;
  if (!HasChartImageEncoder(type)) {
    context.prompt.ShowMessage(kNoEncoder, MessageButtons::Ok, MessageIcon::Error);
    return false;
  }
  std::string cause;
  if (!SaveChartImage(image, path, type, cause)) {
    // The previous file, if any, is left as it was; the user learns why.
    context.prompt.ShowMessage(Format(kSaveFailed, path.c_str(), cause.c_str()), MessageButtons::Ok,
                               MessageIcon::Error);
    return false;
  }
  return true;
}
