#pragma once
// The texts of the acquisition catalogue: the sort choices of the catalogue list, its
// statement and the item list's (their SQL lives in db/catalogue_store.h, with the
// repair's and the deletion's), the rejection report and the file size text of the
// compaction line.
#include <cstdint>
#include <string>
#include <vector>

#include "base/user_prompt.h"

// Sort choices of the catalogue: index → expression. 0 (by id) is the initial choice.
inline constexpr int kCatalogueSortChoiceCount = 5;
inline constexpr int kCatalogueSortByStart = 3;
const std::vector<std::string>& CatalogueSortChoices();
// The ORDER BY expression of a choice; an index out of range counts as the first.
const char* CatalogueSortExpression(int sortIndex);
// The keyed catalogue statement (hidden key: OPCAcq_Id).
std::string CatalogueStatement(int sortIndex);

// Visible columns of the catalogue list.
inline constexpr int kCatServerId = 0;
inline constexpr int kCatHost = 1;
inline constexpr int kCatGuid = 2;
inline constexpr int kCatStartDate = 3;
inline constexpr int kCatStartTime = 4;
inline constexpr int kCatEndDate = 5;
inline constexpr int kCatEndTime = 6;
inline constexpr int kCatDataCount = 7;

// The item list of an acquisition, in recording order (the order of the value fields).
std::string AcquisitionItemListStatement(int acquisitionId);
inline constexpr int kItemGroupName = 0;
inline constexpr int kItemQualifiedName = 1;
inline constexpr int kItemType = 4;
inline constexpr char kAcquiredItemType[] = "Acquired Data";
inline constexpr char kCalculatedItemType[] = "Calculated Data";

inline constexpr char kUndefinedText[] = "Undefined";
// Shown as the end date of an acquisition that a program records now.
inline constexpr char kBeingRecordedText[] = "Being Recorded";

// The request refused because the acquisition is being recorded ("Request Rejection").
inline constexpr char kRepairRequest[] = "Repair";
ReportRequest RecordingRejectionReport(const char* request, const std::string& serverId,
                                       const std::string& host, int acquisitionId);

// "%d.%d.%d bytes": millions, then thousands and units with three digits each.
std::string FileSizeText(uint64_t size);
