#pragma once
// CDataColourCommands: the data view's four colour commands (standard, bad quality,
// interpolated, inactive group): the colours as the settings keep them, the swatch each
// command shows and the choice of a new colour, which is stored at once.
// Thread rule: GUI thread.
#include <QColor>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "acquisition/cell_colour.h"
#include "ui/command_ids.h"

class ISettingsStore;

class CDataColourCommands {
 public:
  // Chooses a colour starting from initial; nothing when the user cancelled.
  using ColourChooser =
      std::function<std::optional<QColor>(const QColor& initial, const QString& title)>;

  // Reads the four colours from settings (which outlives this object).
  explicit CDataColourCommands(ISettingsStore& settings);

  // The colour commands, in the command bar's order.
  static std::vector<CommandId> Commands();
  static bool Handles(CommandId id);

  const DataColours& Colours() const { return m_colours; }
  // The command's colour; invalid for a command that is not a colour command.
  QColor Swatch(CommandId id) const;
  // Asks chooser for the command's colour (titled as the command); true when a colour was
  // chosen, which is then kept and stored in the settings.
  bool Choose(CommandId id, const ColourChooser& chooser);

 private:
  ISettingsStore& m_settings;
  DataColours m_colours;
};
