#include "opc/item_commands.h"

#include "base/log.h"
#include "opc/opc_items.h"

namespace {

constexpr char kConfirmItemRemoval[] =
    "Please Confirm that You Want to Delete the selected OPC Item ? \nOPC Item Name: %s \nOPC "
    "Group Name %s \nOPC Item Type: %s ";
constexpr char kNoAcquiredData[] =
    "Calculated Items can be added to an OPC Group ONLY if Acquired Data exists in this OPC Group "
    "!!!";

}  // namespace

std::string ItemTypeText(const COPCBaseItem& item) {
  return dynamic_cast<const COPCCalcItem*>(&item) != nullptr ? kCalculatedItemTypeText
                                                             : kAcquiredItemTypeText;
}

bool RemoveItemCommand(COPCServer& server, COPCBaseItem* item) {
  if (item == nullptr || item->Group() == nullptr)
    return false;
  const std::string text = Format(kConfirmItemRemoval, item->QualifiedId().c_str(),
                                  item->Group()->Name().c_str(), ItemTypeText(*item).c_str());
  if (server.Context().prompt.ShowMessage(text, MessageButtons::kOkCancel,
                                          MessageIcon::kQuestion) != MessageAnswer::kOk) {
    return false;
  }
  return RemoveItem(server, item);
}

bool CanAddCalcItems(const COPCGroup& group, IUserPrompt& prompt) {
  // The list itself, not the count the tree last refreshed.
  if (group.AcquiredCount() > 0)
    return true;
  prompt.ShowMessage(kNoAcquiredData, MessageButtons::kOk, MessageIcon::kWarning);
  return false;
}
