#pragma once
// The group commands of the configuration view ("Add OPC Group", modify, "Remove OPC
// Group") and the rules of the "OPC Group Addition" dialog, without the windows: the GUI
// shows the dialog and hands its answers here. Thread rule: GUI thread.
#include <cstdint>
#include <string>

#include "opc/default_names.h"
#include "opc/opc_server.h"

// Hints shown beside the dialog's fields.
inline constexpr char kTimeBiasHint[] =
    "Bias is used to display the timestamps of OPC data in a time zone different of OPC Client "
    "Time Zone. It's NOT used by Velmora 2.0";
inline constexpr char kDeadBandHint[] =
    "Dead Band is expressed as Percent of Analog Data Full Range. It affects the update, at the "
    "Client Side, of OPC data exchanged between the Server and the Client. It's NOT used by "
    "Velmora 2.0.";
inline constexpr char kUpdateRateHint[] =
    "Update Rate represents the Rate of OPC Data Acquisition of all the Items of the OPC Group. "
    "Internally, OPC works in milliseconds but figures are expressed here in seconds.";
inline constexpr char kActiveStateHint[] =
    "Items of the OPC Group are updated ONLY if the OPC Group is active. ";
inline constexpr char kGroupNameInUse[] = "Group Name Already in Use !!! Addition Not Allowed ...";

// The update rate choice list: position → milliseconds.
inline constexpr int kUpdateRateChoiceCount = 12;
DWORD UpdateRateForChoice(int position);
// The position that shows a stored rate (5 s for a rate that is not in the list).
int ChoiceForUpdateRate(DWORD updateRate);

// "Add OPC Group", before the dialog: false (after the maximum message) with 16 groups.
bool CanAddGroup(const COPCServer& server, IUserPrompt& prompt);
// The addition dialog's starting settings: the first free default name, the defaults,
// the synchronous cache read. (The modification dialog starts from a copy of the group's.)
OPCGroupSettings NewGroupSettings(const COPCServer& server);
// The message shown in the dialog while the name is taken by another group than
// editedGroup (null in addition mode); empty when the name is free.
std::string GroupNameMessage(const COPCServer& server, const std::string& name,
                             const COPCGroup* editedGroup);
// OK is enabled while the name is free and the server's status can be read.
bool GroupDialogOkEnabled(const COPCServer& server, const std::string& name,
                          const COPCGroup* editedGroup);
// A new read interface choice: choosing the device read asks for confirmation. False when
// the user cancelled (the dialog restores the previous choice).
bool ConfirmReadInterfaceChoice(uint32_t readInterface, IUserPrompt& prompt);
// OK pressed: trims the name; an empty one is replaced by the first free default name
// when the user agrees. False when the dialog stays open.
bool AcceptGroupDialog(const COPCServer& server, OPCGroupSettings& values, IUserPrompt& prompt);

// Adds the group with the dialog's settings (locale 0), checks that the group offers the
// chosen read interface, marks the configuration changed and logs the addition. Null after
// the failure message box when the server refused.
COPCGroup* AddGroupCommand(COPCServer& server, const OPCGroupSettings& values);
// Writes the modification dialog's name, active flag, update rate and read interface into
// the model (the server's group is not changed; time bias, dead band and locale stay).
// True when the name changed.
bool ModifyGroupCommand(COPCServer& server, COPCGroup& group, const OPCGroupSettings& values);

struct RemoveGroupOutcome {
  bool m_bRemoved = false;
  DefaultNamesCheck m_check;  // the default-name check run after the removal
};
// "Remove OPC Group": asks, removes the group, then renumbers the default names.
RemoveGroupOutcome RemoveGroupCommand(COPCServer& server, COPCGroup* group);
