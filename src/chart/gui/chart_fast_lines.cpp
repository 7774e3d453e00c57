#include "chart/gui/chart_fast_lines.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

class CPixelWriter {
 public:
  CPixelWriter(QImage& image, QRgb color, const QRect& clip)
      : m_pBits(reinterpret_cast<QRgb*>(image.bits())),
        m_nStride(image.bytesPerLine() / 4),
        m_color(color),
        m_clip(clip.intersected(image.rect())) {}

  void Set(int x, int y) {
    if (m_clip.contains(x, y))
      m_pBits[y * m_nStride + x] = m_color;
  }
  // Blends the colour over the pixel with a coverage of 0..1.
  void Blend(int x, int y, double coverage) {
    if (!m_clip.contains(x, y) || coverage <= 0.0)
      return;
    QRgb& pixel = m_pBits[y * m_nStride + x];
    const int a = static_cast<int>(coverage * 256.0);
    const auto mix = [a](int from, int to) { return from + (((to - from) * a) >> 8); };
    pixel = qRgb(mix(qRed(pixel), qRed(m_color)), mix(qGreen(pixel), qGreen(m_color)),
                 mix(qBlue(pixel), qBlue(m_color)));
  }

 private:
  QRgb* m_pBits;
  int m_nStride;
  QRgb m_color;
  QRect m_clip;
};

void Bresenham(CPixelWriter& writer, int x0, int y0, int x1, int y1, bool skipFirst) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1;
  const int sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  bool first = true;
  for (;;) {
    if (!(first && skipFirst))
      writer.Set(x0, y0);
    first = false;
    if (x0 == x1 && y0 == y1)
      return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void Wu(CPixelWriter& writer, double x0, double y0, double x1, double y1) {
  const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
  if (steep) {
    std::swap(x0, y0);
    std::swap(x1, y1);
  }
  if (x0 > x1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  const auto plot = [&](int x, int y, double c) {
    if (steep)
      writer.Blend(y, x, c);
    else
      writer.Blend(x, y, c);
  };
  const double dx = x1 - x0;
  const double gradient = dx == 0.0 ? 1.0 : (y1 - y0) / dx;
  // Whole-pixel end points: each end pixel is drawn fully once.
  const int xStart = static_cast<int>(std::lround(x0));
  const int xEnd = static_cast<int>(std::lround(x1));
  double y = y0 + gradient * (xStart - x0);
  for (int x = xStart; x <= xEnd; ++x) {
    const int row = static_cast<int>(std::floor(y));
    const double below = y - row;
    plot(x, row, 1.0 - below);
    plot(x, row + 1, below);
    y += gradient;
  }
}

}  // namespace

bool CanDrawFastLines(const QImage& image) {
  return image.format() == QImage::Format_RGB32;
}

void DrawFastPolyline(QImage& image, const std::vector<ChartPixelPoint>& points, QRgb color,
                      const QRect& clip, bool antialiased, int shift) {
  if (points.size() < 2)
    return;
  CPixelWriter writer(image, color, clip);
  for (size_t i = 1; i < points.size(); ++i) {
    const ChartPixelPoint& from = points[i - 1];
    const ChartPixelPoint& to = points[i];
    if (antialiased) {
      Wu(writer, from.x + shift, from.y + shift, to.x + shift, to.y + shift);
    } else {
      // Each segment after the first starts where the previous one ended.
      Bresenham(writer, static_cast<int>(from.x) + shift, static_cast<int>(from.y) + shift,
                static_cast<int>(to.x) + shift, static_cast<int>(to.y) + shift, i > 1);
    }
  }
}
