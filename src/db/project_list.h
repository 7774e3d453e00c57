#pragma once
// The project lists shared by the name dialog, the load dialog and the command-line tool:
// the sort choices of the project list and its columns (the statements are
// CProjectRows's, in db/project_rows.h).
#include <string>
#include <vector>

// Sort choices of the project list: index → column. 1 (by name) is the initial choice.
inline constexpr int kSortByName = 1;
inline constexpr int kProjectSortChoiceCount = 7;
// The texts of the sort choices, in index order.
const std::vector<std::string>& ProjectSortChoices();
// The column of a sort choice (the name for an index out of range).
const char* ProjectSortColumn(int sortIndex);

// The columns of the project list: "Project Id" (0), "Project Name" (1), "OPC Server Id"
// (2), "OPC Server Host" (3), "OPC Server Guid" (4), [counts], "Creation Date",
// "Creation Time".
inline constexpr int kProjectIdColumn = 0;
inline constexpr int kProjectNameColumn = 1;
inline constexpr int kProjectServerIdColumn = 2;
inline constexpr int kProjectHostColumn = 3;
inline constexpr int kProjectGuidColumn = 4;
