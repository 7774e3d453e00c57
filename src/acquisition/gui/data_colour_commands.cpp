#include "acquisition/gui/data_colour_commands.h"

#include <algorithm>
#include <iterator>

#include "base/settings.h"
#include "ui/colour_ref.h"

namespace {

// What each colour command changes.
struct ColourCommand {
  CommandId command;
  const IntSetting* setting;
  uint32_t DataColours::*colour;
  const char* title;
};
constexpr ColourCommand kColourCommands[] = {
    {CommandId::kStandardColour, &settings::kStandardColor, &DataColours::standard,
     "Standard Color"},
    {CommandId::kBadQualityColour, &settings::kBadQualityColor, &DataColours::badQuality,
     "Bad Data Quality"},
    {CommandId::kInterpolatedColour, &settings::kInterpolatedColor, &DataColours::interpolated,
     "Interpolated Data Color"},
    {CommandId::kInactiveGroupColour, &settings::kInactiveColor, &DataColours::inactive,
     "Inactive Group Color"},
};

const ColourCommand* Find(CommandId id) {
  const auto entry = std::find_if(std::begin(kColourCommands), std::end(kColourCommands),
                                  [id](const ColourCommand& c) { return c.command == id; });
  return entry != std::end(kColourCommands) ? entry : nullptr;
}

}  // namespace

CDataColourCommands::CDataColourCommands(ISettingsStore& settings) : m_settings(settings) {
  for (const ColourCommand& entry : kColourCommands)
    m_colours.*(entry.colour) = static_cast<uint32_t>(settings::Read(m_settings, *entry.setting));
}

std::vector<CommandId> CDataColourCommands::Commands() {
  std::vector<CommandId> commands;
  for (const ColourCommand& entry : kColourCommands)
    commands.push_back(entry.command);
  return commands;
}

bool CDataColourCommands::Handles(CommandId id) {
  return Find(id) != nullptr;
}

QColor CDataColourCommands::Swatch(CommandId id) const {
  const ColourCommand* entry = Find(id);
  return entry != nullptr ? ColourFromColorRef(m_colours.*(entry->colour)) : QColor();
}

bool CDataColourCommands::Choose(CommandId id, const ColourChooser& chooser) {
  const ColourCommand* entry = Find(id);
  if (entry == nullptr || !chooser)
    return false;
  const std::optional<QColor> chosen =
      chooser(ColourFromColorRef(m_colours.*(entry->colour)), QString(entry->title));
  if (!chosen || !chosen->isValid())
    return false;
  const uint32_t colorRef = ColorRefFromColour(*chosen);
  settings::Write(m_settings, *entry->setting, static_cast<int32_t>(colorRef));
  m_colours.*(entry->colour) = colorRef;
  return true;
}
