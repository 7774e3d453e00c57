#pragma once
// The fixed texts of the add-item dialog ("Add, Modify and Remove Acquired OPC Items in
// OPC Group %s"): its title and label, the log lines and message boxes of browsing and
// adding.
#include <cstddef>
#include <string>

#include "opc/tree_placeholder.h"
#include "platform/com/hresult.h"

inline constexpr char kAddItemTitleFormat[] =
    "Add, Modify and Remove Acquired OPC Items in OPC Group %s";
// "s " with 2 rows or more, " " otherwise; then the group name.
inline constexpr char kAddItemLabelFormat[] = "OPC Item%sin Group %s";
inline constexpr char kUndefinedShortId[] = "Undefined";
// The placeholder child of a branch not yet expanded.

inline constexpr char kQueryOrganizationFailedLog[] =
    "Fail to Query System Organization to OPC Server %s on %s !!! \nQueryOrganization Error "
    "\nError Code: %08X  \nReason: %s";
inline constexpr char kBrowseUnavailableAttemptLog[] =
    "IOPCBrowseServerAddressSpace Interface in OPC Server %s on %s is Not Available !!! "
    "Attempting to Browse Tags from Root ... ";
inline constexpr char kBrowseUnavailableFailLog[] =
    "IOPCBrowseServerAddressSpace Interface in OPC Server %s on %s is Not Available !!! Fail to "
    "Browse Tags ... ";
inline constexpr char kMaximumItemCountWarning[] =
    "Warning !!! Not All Items Added to the OPC Item List ... Maximum Item Count (%d) is Reached "
    "...";
inline constexpr char kGetItemIdFailed[] =
    "Fail to Query Qualified Id for Tag %s in OPC Server %s on %s !!! "
    "\nIOPCBrowseServerAddressSpace::GetItemID Error \nError Code: %08X  \nReason: %s";
inline constexpr char kAddItemCriticalError[] =
    "Critical Error Occured While Add OPC Item !!! Addition is Aborted ...";

// The two places that call BrowseOPCItemIDs, each with its own failure texts.
enum class BrowseCallPlace { kItemCount, kLeafList };

// The log line of a BrowseOPCItemIDs failure (E_FAIL, RPC_E_SERVERFAULT, E_OUTOFMEMORY,
// E_INVALIDARG, OPC_E_INVALIDFILTER); empty for any other code, which stays quiet.
std::string BrowseFailureText(HRESULT hr, BrowseCallPlace place);

// Buffers the dialog passes names through (terminator included).
inline constexpr size_t kNameBufferBytes = 260;
inline constexpr size_t kItemIdBufferBytes = 200;

// text as a buffer of that many bytes keeps it: at most bufferBytes - 1 bytes, cut before
// a partial UTF-8 character.
std::string CutToBuffer(const std::string& text, size_t bufferBytes);
