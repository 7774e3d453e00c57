#pragma once
// Chart pictures with Qt Gui alone (no widgets), for the view and for velmora-cli: the
// chart drawn at its window's size and cut to multiples of 4, the image encoders by the
// part of their MIME type after "image/", and saving with one of them.
// Thread rule: GUI thread (or the command line's only thread).
#include <QImage>
#include <QSize>
#include <QStringList>
#include <string>

class CChartModel;

// The chart drawn into a picture of windowSize, each side rounded down to a multiple of
// 4 (a copy of what the window shows); null for a window smaller than 4 pixels.
QImage RenderChartModel(CChartModel& model, const QSize& windowSize);
// "bmp", "jpeg", "png", ...: the encoders there are.
QStringList ChartImageTypes();
bool HasChartImageEncoder(const std::string& type);
// Encodes with the encoder of type and replaces the file whole with the picture (or
// leaves it as it was). False with the cause text when there is no encoder, the
// picture cannot be encoded or the file cannot be written.
bool SaveChartImage(const QImage& image, const std::string& path, const std::string& type,
                    std::string& cause);
