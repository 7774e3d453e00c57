#pragma once
// The fixed feature lists of the start view and the three group outline views, written in
// the reports' RTF style with colour 4 a darker green for the section headings.
#include <string>

enum class OutlinePage { kStart, kOpcExplorer, kProjects, kDcom };

// The colour table of the outline pages: 1 black, 2 blue, 3 cyan, 4 dark green, 5 red.
inline constexpr char kOutlineColourTable[] =
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;"
    "\\red0\\green128\\blue0;\\red255\\green0\\blue0;}";

// The whole RTF document of a page: header, colour table and body.
std::string OutlineDocument(OutlinePage page);
