#include "opc/add_item_texts.h"

#include "platform/com/hresult.h"

namespace {

struct BrowseFailure {
  HRESULT m_hr;
  const char* m_pItemCountText;
  const char* m_pLeafListText;
};

constexpr BrowseFailure kBrowseFailures[] = {
    {E_FAIL, "The function BrowseOPCItemIDs has failed (CAddItemDlg::GetOPCItemCount) !!!",
     "The function BrowseOPCItemIDs has failed (CAddItemDlg::UpdateTagCtrl) !!!"},
    {RPC_E_SERVERFAULT, "The OPC Server threw an Exception (CAddItemDlg::GetOPCItemCount) !!!",
     "The OPC Server threw an Exception (CAddItemDlg::UpdateTagCtrl) !!!"},
    {E_OUTOFMEMORY,
     "Not Enough Memory to Complete the function BrowseOPCItemIDs (CAddItemDlg::GetOPCItemCount) "
     "!!!",
     "Not Enough Memory to Complete the function BrowseOPCItemIDs (CAddItemDlg::UpdateTagCtrl) "
     "!!!"},
    {E_INVALIDARG,
     "Invalid Argument Provided to the function BrowseOPCItemIDs (CAddItemDlg::GetOPCItemCount) "
     "!!!",
     "Invalid Argument Provided to the function BrowseOPCItemIDs (CAddItemDlg::UpdateTagCtrl) "
     "!!!"},
    {OPC_E_INVALIDFILTER,
     "The Filter String of the function BrowseOPCItemIDs is Not Valid "
     "(CAddItemDlg::GetOPCItemCount) !!!",
     "The Filter String of the function BrowseOPCItemIDs is Not Valid "
     "(CAddItemDlg::UpdateTagCtrl) !!!"},
};

}  // namespace

std::string BrowseFailureText(HRESULT hr, BrowseCallPlace place) {
  for (const BrowseFailure& failure : kBrowseFailures) {
    if (failure.m_hr == hr) {
      return place == BrowseCallPlace::kItemCount ? failure.m_pItemCountText
                                                  : failure.m_pLeafListText;
    }
  }
  return {};
}

std::string CutToBuffer(const std::string& text, size_t bufferBytes) {
  if (bufferBytes == 0)
    return {};
  if (text.size() < bufferBytes)
    return text;
  size_t length = bufferBytes - 1;
  // Back over continuation bytes (10xxxxxx) to the start of the cut character.
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
    --length;
  return text.substr(0, length);
}
