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
