#include "chart/chart_image_rules.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "base/log.h"

namespace {

constexpr char kExists[] = "File %s Already Exists !!!";
constexpr char kSize[] = "\r\nFile Size: %ld";
constexpr char kCreated[] = "\r\nFile Creation Time: %2.2d-%2.2d-%4.4d %2.2d-%2.2d-%2.2d";
constexpr char kModified[] = "\r\nFile Modification Time: %2.2d-%2.2d-%4.4d %2.2d-%2.2d-%2.2d";
constexpr char kAccessed[] = "\r\nFile Last Access Time: %2.2d-%2.2d-%4.4d %2.2d-%2.2d-%2.2d";
constexpr char kConfirm[] = "Please Confirm that you want to Replace Existing File ...";

std::string TimeLine(const char* format, time_t when) {
  struct tm local {};
  localtime_r(&when, &local);
  return Format(format, local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour,
                local.tm_min, local.tm_sec);
}

}  // namespace

std::string ChartImageType(const std::string& selected) {
  return selected.empty() ? kDefaultChartImageType : selected;
}

std::string ChartImageExtension(const std::string& type) {
  return type == "jpeg" ? ".jpg" : "." + type;
}

std::string ChartImageFileName(const std::string& name, const std::string& type) {
  const std::string extension = ChartImageExtension(type);
  return name.find(extension) != std::string::npos ? name : name + extension;
}

std::string ChartImageFolder(const std::string& lastUsed, const std::string& databaseFolder) {
  std::error_code error;
  if (!lastUsed.empty() && std::filesystem::is_directory(lastUsed, error))
    return lastUsed;
  return databaseFolder;
}

std::string ChartImagePath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\')
    return folder + name;
  return folder + "/" + name;
}

std::string ChartReplaceQuestion(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0)
    return {};
  const std::string name = std::filesystem::path(path).filename().string();
  // Linux keeps no creation time in stat: the last status change stands for it.
  std::string text = Format(kExists, name.c_str());
  text += Format(kSize, static_cast<long>(info.st_size));
  text += TimeLine(kCreated, info.st_ctime);
  text += TimeLine(kModified, info.st_mtime);
  text += TimeLine(kAccessed, info.st_atime);
  text += "\r\n";
  text += kConfirm;
  return text;
}
