// Takes the pictures of the configuration view with a configured server, the group
// dialog, the calculated item editor and a property sheet, in the real program on the
// simulation server. Not a test; build and run it by hand (offscreen) when they change:
//   ninja -C build velmora_configuration_screenshots
//   QT_QPA_PLATFORM=offscreen build/tests/velmora_configuration_screenshots docs
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <iostream>

#include "app/gui/main_frame.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/ribbon_bar.h"
#include "calc/gui/add_calc_item_dlg.h"
#include "demo_session.h"
#include "opc/gui/group_dlg.h"
#include "opc/gui/opc_server_view.h"
#include "opc/gui/property_dlg.h"
#include "opc/property_sheet.h"

namespace {

bool Save(QWidget& widget, const QString& folder, const char* name) {
  widget.show();
  QApplication::processEvents();
  if (!widget.grab().save(folder + "/" + name)) {
    std::cerr << "Cannot write " << name << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: velmora_configuration_screenshots FOLDER\n";
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir dir;
  SetVelmoraSettingsDirectory(dir.path());
  DemoSessionRig rig(dir.filePath("Velmora.sq3"));
  if (!rig.Start() || !rig.ImportDemoProject())
    return 1;
  CMainFrame& frame = rig.Frame();
  frame.resize(1280, 800);
  frame.SwitchToView(VelmoraView::kOpcServer);
  frame.Ribbon()->setCurrentIndex(frame.Ribbon()->CategoryIndex("OPC Server"));
  COPCServerView* view = frame.ServerView();
  view->Refresh();
  QTreeWidgetItem* root = view->ConfigurationTree()->topLevelItem(0);
  view->ConfigurationTree()->setCurrentItem(root->child(0));
  root->child(0)->setExpanded(true);
  bool saved = Save(frame, folder, "configuration-view.png");

  COPCServer& server = rig.session->Server();
  AppContext& context = rig.session->Context();
  CGroupDlg groupDialog(server, context.prompt, nullptr);
  saved = Save(groupDialog, folder, "group-dialog.png") && saved;

  COPCGroup& group = *server.Group(0);
  CAddCalcItemDlg editor(server, group, context.prompt, context.clock);
  editor.IdentifierField()->setText("L1M1_TempF");
  editor.ExpressionField()->setText("CelciusToFahrenheit(L1M1_Temp)");
  saved = Save(editor, folder, "calc-editor.png") && saved;

  CPropertyDlg sheet(kGroupPropertiesTitle, kGroupPropertiesCaption,
                     GroupPropertySheet(group, 0, false));
  saved = Save(sheet, folder, "group-properties.png") && saved;
  rig.session->Detach();
  return saved ? 0 : 1;
}
