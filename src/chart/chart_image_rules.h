#pragma once
// The rules of the chart's image export: the folder and type the file dialog starts
// with, the file name's extension, the picture's size, and the question asked before a
// file is replaced. Qt-free.
#include <string>

inline constexpr char kDefaultChartImageType[] = "jpeg";

// A picture is as large as the chart window, each side rounded down to a multiple of 4.
inline int RoundDownToFour(int pixels) {
  return pixels > 0 ? pixels / 4 * 4 : 0;
}
// The type chosen in the dialog, "jpeg" when none is.
std::string ChartImageType(const std::string& selected);
// ".jpg" for "jpeg", "." + type otherwise.
std::string ChartImageExtension(const std::string& type);
// The name with the type's extension, unless the name already contains it anywhere.
std::string ChartImageFileName(const std::string& name, const std::string& type);
// The folder the dialog starts in: the one last used when it exists, else the
// database's folder.
std::string ChartImageFolder(const std::string& lastUsed, const std::string& databaseFolder);
// The full file name: the folder followed by the name (with a separator when needed).
std::string ChartImagePath(const std::string& folder, const std::string& name);
// The replace confirmation for an existing file (its size and its times); empty when
// the file does not exist.
std::string ChartReplaceQuestion(const std::string& path);
