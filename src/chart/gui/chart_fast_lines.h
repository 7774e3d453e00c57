#pragma once
// One-pixel solid lines straight into a 32-bit image: Bresenham's lines, or Wu's lines
// when antialiased. What QPainter draws for a cosmetic pen, at a fraction of its cost per
// segment — a chart of 256 series of 1600 points is 400 000 short segments.
// Thread rule: any thread, one image per call.
#include <QImage>
#include <QRect>
#include <vector>

#include "chart/chart_serie.h"

// True when the image can be drawn on directly (32 bits per pixel, no alpha to keep).
bool CanDrawFastLines(const QImage& image);

// The polyline through points (shifted right and down by shift), clipped to clip.
void DrawFastPolyline(QImage& image, const std::vector<ChartPixelPoint>& points, QRgb color,
                      const QRect& clip, bool antialiased, int shift = 0);

// The pixels of an image, taken once on the thread that owns it, for drawing from several
// threads: each into its own band of rows.
struct FastLinePixels {
  explicit FastLinePixels(QImage& image)
      : bits(reinterpret_cast<QRgb*>(image.bits())),
        stride(image.bytesPerLine() / 4),
        rect(image.rect()) {}
  QRgb* bits;
  int stride;
  QRect rect;
};

// DrawFastPolyline writing only the rows bandTop..bandBottom. The clip still decides how
// each segment is drawn, so bands drawn apart give exactly the picture of one drawing.
void DrawFastPolylineInBand(const FastLinePixels& pixels,
                            const std::vector<ChartPixelPoint>& points, QRgb color,
                            const QRect& clip, bool antialiased, int shift, int bandTop,
                            int bandBottom);
