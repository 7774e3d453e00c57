#pragma once
// The reports of the project explorer, composed in the program's rich-text conventions.
#include <string>

#include "base/user_prompt.h"

inline constexpr char kUpdateErrorTitle[] = "Project Data Update Error";
inline constexpr char kRejectionTitle[] = "Request Rejection";
inline constexpr char kConfirmationTitle[] = "Confirmation Request";
inline constexpr char kRetrievalErrorTitle[] = "Project Data Retrieval Error";
inline constexpr char kCopyErrorTitle[] = "Project Data Copy Error";
inline constexpr char kExportErrorTitle[] = "Project Data Export Error";

// The repair found no row to take the end from.
ReportRequest UpdateErrorReport(int count, const std::string& lastTime);
// The acquisition to delete is the one being recorded.
ReportRequest DeletionRejectionReport(const std::string& serverId, const std::string& host,
                                      int runningId, int selectedId);
ReportRequest DeletionConfirmationReport(const std::string& serverId, const std::string& host,
                                         const std::string& startDate, const std::string& startTime,
                                         const std::string& endDate, const std::string& endTime,
                                         const std::string& count);
// The summary did not return its columns (expected: 8 for the data view, 7 for export;
// the report names 7 in both).
ReportRequest RetrievalErrorReport(int columnsRetrieved);
// Some data sets of the loaded acquisition could not be read (damaged or missing rows).
ReportRequest DamagedDataReport(const std::string& damageText);
ReportRequest CopyErrorReport(const std::string& cause);
ReportRequest ExportErrorReport(const std::string& path, const std::string& cause);
