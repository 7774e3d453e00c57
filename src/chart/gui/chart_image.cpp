#include "chart/gui/chart_image.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include "base/atomic_file.h"
#include "chart/chart_image_rules.h"
#include "chart/chart_model.h"
#include "chart/gui/chart_painter.h"

namespace {

constexpr char kMimePrefix[] = "image/";

QByteArray FormatOf(const std::string& type) {
  const QList<QByteArray> formats =
      QImageWriter::imageFormatsForMimeType(QByteArray(kMimePrefix) + type.c_str());
  return formats.isEmpty() ? QByteArray() : formats.first();
}

}  // namespace

QImage RenderChartModel(CChartModel& model, const QSize& windowSize) {
  const QSize target(RoundDownToFour(windowSize.width()), RoundDownToFour(windowSize.height()));
  if (target.isEmpty())
    return {};
  QImage window(windowSize, QImage::Format_RGB32);
  {
    QPainter painter(&window);
    PaintChart(model, painter, QRect(QPoint(0, 0), windowSize));
  }
  return window.copy(QRect(QPoint(0, 0), target));
}

QStringList ChartImageTypes() {
  QStringList types;
  for (const QByteArray& mime : QImageWriter::supportedMimeTypes()) {
    if (mime.startsWith(kMimePrefix))
      types << QString::fromLatin1(mime.mid(static_cast<int>(sizeof kMimePrefix) - 1));
  }
  types.removeDuplicates();
  return types;
}

bool HasChartImageEncoder(const std::string& type) {
  return !FormatOf(type).isEmpty();
}

bool SaveChartImage(const QImage& image, const std::string& path, const std::string& type,
                    std::string& cause) {
  const QByteArray format = FormatOf(type);
  if (format.isEmpty() || image.isNull()) {
    cause = format.isEmpty() ? "no " + type + " encoder" : "no picture";
    return false;
  }
  // Encoded in memory first: the file is then written by the one rule for every file
  // the program writes (a temporary file renamed over the target).
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(image)) {
    cause = writer.errorString().toStdString();
    return false;
  }
  buffer.close();
  int error = 0;
  if (!WriteFileWhole(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                      error)) {
    cause = FileErrorCauseText(error);
    return false;
  }
  return true;
}
