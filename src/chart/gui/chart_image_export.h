#pragma once
// "Save Image to File" and "Copy to Clipboard" of the chart view: the picture of the
// chart window, the file chosen in "Save Chart to Image File" (folder and type kept in
// SaveGraphImgPath and SaveGraphImgExt), the replace confirmation, the encoder.
// Thread rule: GUI thread.
#include <QImage>
#include <string>

struct AppContext;
class CChartCtrl;

// The chart window's picture, each side rounded down to a multiple of 4.
QImage RenderChartWindow(CChartCtrl& chart);
// The whole export; false when nothing was written (cancelled, refused, no encoder).
bool ExportChartImage(CChartCtrl& chart, AppContext& context, const std::string& databasePath);
