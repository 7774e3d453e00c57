#include "chart/gui/chart_fast_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

class CPixelWriter {
 public:
  CPixelWriter(const FastLinePixels& pixels, QRgb color, const QRect& clip, int bandTop,
               int bandBottom)
      : m_pBits(pixels.bits), m_nStride(pixels.stride), m_color(color) {
    const QRect inside = clip.intersected(pixels.rect);
    m_nLeft = inside.left(), m_nTop = inside.top();
    m_nRight = inside.right(), m_nBottom = inside.bottom();
    m_nBandTop = std::max(bandTop, m_nTop);
    m_nBandBottom = std::min(bandBottom, m_nBottom);
  }

  // Inside the clip: what decides how a segment is drawn.
  bool Inside(int x, int y) const {
    return x >= m_nLeft && x <= m_nRight && y >= m_nTop && y <= m_nBottom;
  }
  bool InBand(int y) const { return y >= m_nBandTop && y <= m_nBandBottom; }
  void Set(int x, int y) {
    if (Inside(x, y) && InBand(y))
      m_pBits[y * m_nStride + x] = m_color;
  }
  // Without the clip test: for a segment known to lie inside.
  void SetInside(int x, int y) {
    if (InBand(y))
      m_pBits[y * m_nStride + x] = m_color;
  }
  // Blends the colour over the pixel with a coverage of 0..256: red and blue in one
  // multiplication, green in another.
  void BlendFixed(int x, int y, int a) {
    if (a <= 0 || !Inside(x, y) || !InBand(y))
      return;
    QRgb& pixel = m_pBits[y * m_nStride + x];
    const uint32_t from = pixel;
    const uint32_t redBlue = from & 0xFF00FF;
    const uint32_t green = from & 0x00FF00;
    const uint32_t toRedBlue = m_color & 0xFF00FF;
    const uint32_t toGreen = m_color & 0x00FF00;
    // The weights add up to 256, so neither sum overflows into its neighbour channel.
    const uint32_t weight = static_cast<uint32_t>(a);
    const uint32_t mixedRedBlue = ((redBlue * (256 - weight) + toRedBlue * weight) >> 8) & 0xFF00FF;
    const uint32_t mixedGreen = ((green * (256 - weight) + toGreen * weight) >> 8) & 0x00FF00;
    pixel = 0xFF000000u | mixedRedBlue | mixedGreen;
  }
  // A vertical run of opaque pixels inside the clip.
  void RunInside(int x, int from, int to) {
    if (from > to)
      std::swap(from, to);
    from = std::max(from, m_nBandTop);
    to = std::min(to, m_nBandBottom);
    QRgb* pixel = m_pBits + from * m_nStride + x;
    for (int y = from; y <= to; ++y, pixel += m_nStride)
      *pixel = m_color;
  }

 private:
  QRgb* m_pBits;
  int m_nStride;
  QRgb m_color;
  int m_nLeft = 0, m_nTop = 0, m_nRight = -1, m_nBottom = -1;
  int m_nBandTop = 0, m_nBandBottom = -1;
};

// A segment one column wide or less, inside the clip (what a dense trend is made of):
// a vertical run in each end's column, meeting half-way. Opaque pixels may be written
// twice where segments join.
bool NarrowSegment(CPixelWriter& writer, int x0, int y0, int x1, int y1) {
  if (std::abs(x1 - x0) > 1 || !writer.Inside(x0, y0) || !writer.Inside(x1, y1))
    return false;
  const int middle = y0 + (y1 - y0) / 2;
  if (x0 == x1) {
    writer.RunInside(x0, y0, y1);
  } else {
    writer.RunInside(x0, y0, middle);
    writer.RunInside(x1, middle, y1);
  }
  return true;
}

void Bresenham(CPixelWriter& writer, int x0, int y0, int x1, int y1, bool skipFirst) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1;
  const int sy = y0 < y1 ? 1 : -1;
  // Most segments of a trend lie inside the plot: no test per pixel then.
  const bool inside = writer.Inside(x0, y0) && writer.Inside(x1, y1);
  int error = dx + dy;
  bool first = true;
  for (;;) {
    if (!(first && skipFirst)) {
      if (inside)
        writer.SetInside(x0, y0);
      else
        writer.Set(x0, y0);
    }
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

// Wu's line on whole-pixel end points, in 16.16 fixed point: two pixels per column (or
// row, for a steep line), shared by the line's distance to each.
void Wu(CPixelWriter& writer, int x0, int y0, int x1, int y1) {
  const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
  if (steep) {
    std::swap(x0, y0);
    std::swap(x1, y1);
  }
  if (x0 > x1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  const int dx = x1 - x0;
  const int64_t gradient = dx == 0 ? 0 : (static_cast<int64_t>(y1 - y0) << 16) / dx;
  int64_t y = static_cast<int64_t>(y0) << 16;
  for (int x = x0; x <= x1; ++x) {
    const int row = static_cast<int>(y >> 16);
    const int below = static_cast<int>((y >> 8) & 0xFF);  // 0..255 towards the next row
    if (steep) {
      writer.BlendFixed(row, x, 256 - below);
      writer.BlendFixed(row + 1, x, below);
    } else {
      writer.BlendFixed(x, row, 256 - below);
      writer.BlendFixed(x, row + 1, below);
    }
    y += gradient;
  }
}

}  // namespace

bool CanDrawFastLines(const QImage& image) {
  return image.format() == QImage::Format_RGB32;
}

void DrawFastPolyline(QImage& image, const std::vector<ChartPixelPoint>& points, QRgb color,
                      const QRect& clip, bool antialiased, int shift) {
  DrawFastPolylineInBand(FastLinePixels(image), points, color, clip, antialiased, shift,
                         image.rect().top(), image.rect().bottom());
}

void DrawFastPolylineInBand(const FastLinePixels& pixels,
                            const std::vector<ChartPixelPoint>& points, QRgb color,
                            const QRect& clip, bool antialiased, int shift, int bandTop,
                            int bandBottom) {
  if (points.size() < 2)
    return;
  CPixelWriter writer(pixels, color, clip, bandTop, bandBottom);
  for (size_t i = 1; i < points.size(); ++i) {
    const ChartPixelPoint& from = points[i - 1];
    const ChartPixelPoint& to = points[i];
    const int ax = static_cast<int>(from.x) + shift, ay = static_cast<int>(from.y) + shift;
    const int bx = static_cast<int>(to.x) + shift, by = static_cast<int>(to.y) + shift;
    if (antialiased) {
      Wu(writer, ax, ay, bx, by);
      continue;
    }
    if (NarrowSegment(writer, ax, ay, bx, by))
      continue;
    // Each segment after the first starts where the previous one ended.
    Bresenham(writer, ax, ay, bx, by, i > 1);
  }
}
