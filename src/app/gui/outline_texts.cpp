#include "app/gui/outline_texts.h"

#include "base/report.h"

namespace {

// Pieces of the pages: a title, a section heading, a feature line.
constexpr char kPageTitle[] = "{\\f1\\cf2\\b\\fs32 %s} \\par ";
constexpr char kSection[] = "\\par {\\f1\\cf4\\b\\fs24 %s} \\par ";
constexpr char kFeature[] = "\\fs20     \u2022  %s \\par ";

std::string Piece(const char* pattern, const std::string& text) {
  std::string out = pattern;
  out.replace(out.find("%s"), 2, text);
  return out;
}

std::string StartBody() {
  std::string body = Piece(kPageTitle, "Welcome to Velmora 2.0");
  body += "\\fs20 OPC Data Acquisition and Reporting for OPC DA 1.0a and 2.0 servers \\par ";
  body += Piece(kSection, "Velmora OPC Explorer");
  body += Piece(kFeature, "Find the OPC servers of this computer and of the network");
  body += Piece(kFeature, "Connect to a server and browse its address space");
  body += Piece(kFeature, "Define groups, acquired items and calculated items");
  body += Piece(kFeature, "Acquire values periodically and watch them in a table and a chart");
  body += Piece(kSection, "Projects Explorer");
  body += Piece(kFeature, "Every acquisition is recorded in the Velmora database (Velmora.sq3)");
  body += Piece(kFeature, "Save and load project configurations");
  body += Piece(kFeature, "List, load, chart, export and delete recorded acquisitions");
  body += Piece(kSection, "Getting Started");
  body += Piece(kFeature, "Open a group of the navigation pane on the left to see its features");
  body += Piece(kFeature, "Progress and messages appear in the output pane below");
  body += "}";
  return body;
}

std::string OpcExplorerBody() {
  std::string body = Piece(kPageTitle, "Velmora OPC Explorer");
  body += Piece(kSection, "OPC Explorer Setup");
  body += Piece(kFeature, "Discover OPC DA servers on the local host and on network hosts");
  body += Piece(kFeature, "Connect by program identifier or class identifier");
  body += Piece(kFeature, "Browse the server address space and add items to groups");
  body += Piece(kFeature, "Define calculated items from expressions over the group's items");
  body += Piece(kSection, "OPC Data Acquisition and Storage");
  body += Piece(kFeature, "Synchronous reads from the server cache or from the device");
  body += Piece(kFeature, "One update rate per group, time-controlled or manual start");
  body += Piece(kFeature, "Values marked by quality and interpolation, automatic backups");
  body += Piece(kFeature, "Every data set recorded in the Velmora database");
  body += Piece(kSection, "OPC Data Visualization");
  body += Piece(kFeature, "Real-time chart of the acquired and calculated items");
  body += Piece(kFeature, "Left and right axes with automatic or manual ranges");
  body += Piece(kFeature, "Chart images saved to file or copied to the clipboard");
  body += "}";
  return body;
}

std::string ProjectsBody() {
  std::string body = Piece(kPageTitle, "Projects Explorer");
  body += Piece(kSection, "Velmora Projects");
  body += Piece(kFeature, "The catalogue of every recorded acquisition, sorted as you choose");
  body += Piece(kFeature, "Groups and items of the selected acquisition");
  body += Piece(kFeature, "Deletion of an acquisition and compaction of the database");
  body += Piece(kSection, "Project OPC Data");
  body += Piece(kFeature, "The recorded values of the selected acquisition in a table");
  body += Piece(kSection, "Export Project Data");
  body += Piece(kFeature, "CSV files and clipboard text laid out for spreadsheets");
  body += Piece(kSection, "Project Data Visualization");
  body += Piece(kFeature, "The chart of a recorded acquisition over its whole duration");
  body += "}";
  return body;
}

std::string DcomBody() {
  std::string body = Piece(kPageTitle, "DCOM Explorer");
  body += Piece(kSection, "DCOM Settings");
  body += Piece(kFeature,
                "The DCOM Explorer will come in a later release of Velmora: it will show and "
                "check the DCOM settings that remote OPC servers need");
  body += Piece(kFeature,
                "Until then, the help links of the error reports explain the usual DCOM "
                "failures (access denied, RPC server unavailable, no endpoints)");
  body += "}";
  return body;
}

}  // namespace

std::string OutlineDocument(OutlinePage page) {
  std::string document = std::string(kRtfHeader) + kOutlineColourTable;
  switch (page) {
    case OutlinePage::kStart:
      return document + StartBody();
    case OutlinePage::kOpcExplorer:
      return document + OpcExplorerBody();
    case OutlinePage::kProjects:
      return document + ProjectsBody();
    case OutlinePage::kDcom:
      return document + DcomBody();
  }
  return document + "}";
}
