#include "opc/group_commands.h"

#include "base/log.h"
#include "base/text.h"
#include "opc/opc_texts.h"

namespace {

constexpr DWORD kUpdateRateChoices[kUpdateRateChoiceCount] = {
    1000, 2000, 3000, 4000, 5000, 10000, 15000, 30000, 60000, 120000, 300000, 600000};
constexpr int kOtherRateChoice = 4;  // 5 s

constexpr char kMaximumGroupCount[] =
    "Maximum Group Count (%d) is Reached ... No More Addition Allowed ....";
constexpr char kDeviceReadWarning[] =
    "Reading OPC Data Synchronously from the Device may take a long time (several seconds or "
    "more) and may freeze operations "
    "undertaken on the Server from other OPC Clients !!! This mode should be reserved for "
    "Diagnostics Only ...\n"
    "Please Confirm that you really want to use this OPC Data Read Mode ...";
constexpr char kEmptyGroupName[] =
    "Group Name is Empty !!! Do you want use Automatically Generated Name ? ";
constexpr char kSyncIoMissing[] =
    "Interface IOPCSyncIO is Not Available !!! Please Modify Settings for OPC Group %s ...";
constexpr char kAsyncIoMissing[] =
    "Interface IOPCAsyncIO (1.0a) is Not Available !!! Please Modify Settings for OPC Group %s ...";
constexpr char kAsyncIo2Missing[] =
    "Interface IOPCAsyncIO2 (2.0) is Not Available !!! Please Modify Settings for OPC Group %s ...";
constexpr char kGroupAddedLog[] = "Add OPC Group '%s' to OPC Server %s";
constexpr char kAddGroupFailed[] =
    "Error Occured While Adding Group '%s' to OPC Server !!! Please Check Additional Information "
    "in Output Window ...";
constexpr char kConfirmGroupRemoval[] =
    "Please Confirm that You Want to Delete the OPC Group %s ? ";

// The locale the addition command passes to the server.
constexpr LCID kAddGroupLocale = 0;

// The message naming the interface the group lacks for its read interface; empty if none.
std::string MissingReadInterface(const COPCGroup& group) {
  switch (group.ReadInterface()) {
    case kReadSyncCache:
    case kReadSyncDevice:
      return group.Connection().SyncIO() ? "" : Format(kSyncIoMissing, group.Name().c_str());
    case kReadAsync10:
      return group.Connection().AsyncIO() ? "" : Format(kAsyncIoMissing, group.Name().c_str());
    case kReadAsync20:
      return group.Connection().AsyncIO2() ? "" : Format(kAsyncIo2Missing, group.Name().c_str());
    default:
      return {};
  }
}

}  // namespace

DWORD UpdateRateForChoice(int position) {
  if (position < 0 || position >= kUpdateRateChoiceCount)
    return kDefaultUpdateRate;
  return kUpdateRateChoices[position];
}

int ChoiceForUpdateRate(DWORD updateRate) {
  for (int i = 0; i < kUpdateRateChoiceCount; ++i) {
    // The list shows whole seconds; position 4 (5 s) also stands for every other rate.
    if (updateRate / 1000 == kUpdateRateChoices[i] / 1000 && i != kOtherRateChoice)
      return i;
  }
  return kOtherRateChoice;
}

bool CanAddGroup(const COPCServer& server, IUserPrompt& prompt) {
  if (server.GroupCount() < kMaxGroupCount)
    return true;
  prompt.ShowMessage(Format(kMaximumGroupCount, kMaxGroupCount), MessageButtons::kOk,
                     MessageIcon::kWarning);
  return false;
}

OPCGroupSettings NewGroupSettings(const COPCServer& server) {
  OPCGroupSettings settings;
  settings.m_sName = FirstFreeDefaultGroupName(server);
  settings.m_nReadInterface = kReadSyncCache;
  return settings;
}

std::string GroupNameMessage(const COPCServer& server, const std::string& name,
                             const COPCGroup* editedGroup) {
  const COPCGroup* owner = server.FindGroupByName(name);
  return owner != nullptr && owner != editedGroup ? kGroupNameInUse : "";
}

bool GroupDialogOkEnabled(const COPCServer& server, const std::string& name,
                          const COPCGroup* editedGroup) {
  std::string stateText;
  return GroupNameMessage(server, name, editedGroup).empty() &&
         server.GetServerStateText(stateText);
}

bool ConfirmReadInterfaceChoice(uint32_t readInterface, IUserPrompt& prompt) {
  if (readInterface != kReadSyncDevice)
    return true;
  return prompt.ShowMessage(kDeviceReadWarning, MessageButtons::kOkCancel, MessageIcon::kWarning) ==
         MessageAnswer::kOk;
}

bool AcceptGroupDialog(const COPCServer& server, OPCGroupSettings& values, IUserPrompt& prompt) {
  values.m_sName = Trim(values.m_sName);
  if (!values.m_sName.empty())
    return true;
  if (prompt.ShowMessage(kEmptyGroupName, MessageButtons::kOkCancel, MessageIcon::kQuestion) !=
      MessageAnswer::kOk) {
    return false;
  }
  values.m_sName = FirstFreeDefaultGroupName(server);
  return true;
}

COPCGroup* AddGroupCommand(COPCServer& server, const OPCGroupSettings& values) {
  AppContext& context = server.Context();
  OPCGroupSettings settings = values;
  settings.m_dwLocale = kAddGroupLocale;
  COPCGroup* group = server.AddGroup(settings);
  if (group == nullptr) {
    context.prompt.ShowMessage(Format(kAddGroupFailed, values.m_sName.c_str()), MessageButtons::kOk,
                               MessageIcon::kWarning);
    return nullptr;
  }
  const std::string missing = MissingReadInterface(*group);
  if (!missing.empty())
    context.prompt.ShowMessage(missing, MessageButtons::kOk, MessageIcon::kWarning);
  server.RecountItems();
  server.MarkConfigurationChanged();
  context.log.Log(Format(kGroupAddedLog, group->Name().c_str(), server.ServerId().c_str()),
                  kLogOpcServer);
  return group;
}

bool ModifyGroupCommand(COPCServer& server, COPCGroup& group, const OPCGroupSettings& values) {
  const bool renamed = group.Name() != values.m_sName;
  OPCGroupSettings settings = group.Settings();
  settings.m_sName = values.m_sName;
  settings.m_bActive = values.m_bActive;
  settings.m_dwUpdateRate = values.m_dwUpdateRate;
  settings.m_nReadInterface = values.m_nReadInterface;
  group.SetSettings(settings);
  server.MarkConfigurationChanged();
  return renamed;
}

RemoveGroupOutcome RemoveGroupCommand(COPCServer& server, COPCGroup* group) {
  RemoveGroupOutcome outcome;
  if (group == nullptr)
    return outcome;
  AppContext& context = server.Context();
  if (context.prompt.ShowMessage(Format(kConfirmGroupRemoval, group->Name().c_str()),
                                 MessageButtons::kOkCancel,
                                 MessageIcon::kQuestion) != MessageAnswer::kOk) {
    return outcome;
  }
  outcome.m_bRemoved = server.RemoveGroup(group);
  if (outcome.m_bRemoved) {
    server.MarkConfigurationChanged();
    outcome.m_check = CheckDefaultNames(server);
  }
  return outcome;
}
