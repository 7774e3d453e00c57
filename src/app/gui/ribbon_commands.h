#pragma once
// Every command of the command bar, by category and panel. Commands start disabled; the
// frame and each view enable and connect the ones they handle (ids in ui/command_ids.h).
#include <QColor>
#include <QKeySequence>
#include <QStyle>
#include <vector>

#include "ui/command_ids.h"

struct RibbonCommandDef {
  CommandId id;
  const char* text;
  QStyle::StandardPixmap icon = QStyle::SP_CustomBase;  // SP_CustomBase: a colour swatch
  QColor swatch;                                        // the swatch of colour commands
  QKeySequence shortcut;
  std::vector<RibbonCommandDef> items;  // a command with a drop-down of sub-commands
};

struct RibbonPanelSpec {
  const char* title;
  std::vector<RibbonCommandDef> commands;
};

struct RibbonCategorySpec {
  const char* title;    // the category's name
  const char* tabText;  // the name with its keyboard mnemonic
  std::vector<RibbonPanelSpec> panels;
};

const std::vector<RibbonCategorySpec>& RibbonLayout();
