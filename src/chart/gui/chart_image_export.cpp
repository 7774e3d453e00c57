#include "chart/gui/chart_image_export.h"

#include "base/app_context.h"
#include "base/database_files.h"
#include "base/log.h"
#include "base/settings.h"
#include "chart/chart_image_rules.h"
#include "chart/gui/chart_ctrl.h"
#include "chart/gui/chart_image.h"
#include "chart/gui/chart_image_file_dlg.h"

namespace {

constexpr char kNoEncoder[] = "No Jpeg Encoder in GDI+ .... ";
constexpr char kSaveFailed[] = "Unable to Save Chart Image File %s ... Cause: %s";

}  // namespace

QImage RenderChartWindow(CChartCtrl& chart) {
  return RenderChartModel(chart.Model(), chart.size());
}

bool ExportChartImage(CChartCtrl& chart, AppContext& context, const std::string& databasePath) {
  const std::optional<ChartImageChoice> chosen = ChooseChartImageFile(context, databasePath);
  if (!chosen)
    return false;
  const std::string& type = chosen->type;
  const std::string path = ChartImagePath(chosen->folder, chosen->fileName);

  if (IsDatabaseFile(path, databasePath)) {
    context.prompt.ShowMessage(Format(kSaveFailed, path.c_str(), kDatabaseTargetCause),
                               MessageButtons::kOk, MessageIcon::kError);
    return false;
  }
  const std::string question = ChartReplaceQuestion(path);
  if (!question.empty() && context.prompt.ShowMessage(question, MessageButtons::kOkCancel,
                                                      MessageIcon::kQuestion) != MessageAnswer::kOk)
    return false;
  const QImage image = RenderChartWindow(chart);
  if (image.isNull())
    return false;
  if (!HasChartImageEncoder(type)) {
    context.prompt.ShowMessage(kNoEncoder, MessageButtons::kOk, MessageIcon::kError);
    return false;
  }
  std::string cause;
  if (!SaveChartImage(image, path, type, cause)) {
    // The previous file, if any, is left as it was; the user learns why.
    context.prompt.ShowMessage(Format(kSaveFailed, path.c_str(), cause.c_str()),
                               MessageButtons::kOk, MessageIcon::kError);
    return false;
  }
  return true;
}
