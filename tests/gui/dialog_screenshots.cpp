// Takes the pictures of the server selection, direct host, direct server, add-item and
// short id dialogs in docs/, with the real dialogs on the simulation servers. Not a test;
// build and run it by hand (offscreen) when a dialog's look changes:
//   ninja -C build velmora_dialog_screenshots
//   QT_QPA_PLATFORM=offscreen build/tests/velmora_dialog_screenshots docs
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeView>
#include <iostream>

#include "opc/gui/add_item_dlg.h"
#include "opc/gui/direct_host_dlg.h"
#include "opc/gui/direct_server_dlg.h"
#include "opc/gui/server_selection_dlg.h"
#include "opc/gui/server_selection_model.h"
#include "opc/gui/short_id_dlg.h"
#include "opc/opc_server.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "sim_group.h"
#include "test_context.h"

namespace {

QString g_folder;

bool Save(QWidget& widget, const char* name) {
  widget.show();
  QApplication::processEvents();
  const QString path = g_folder + "/" + name;
  if (!widget.grab().save(path)) {
    std::cerr << "Cannot write " << path.toStdString() << "\n";
    return false;
  }
  return true;
}

QModelIndex Child(const QAbstractItemModel& model, const QModelIndex& parent, const QString& text) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    if (model.index(row, 0, parent).data().toString().startsWith(text))
      return model.index(row, 0, parent);
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: velmora_dialog_screenshots FOLDER\n";
    return 2;
  }
  g_folder = QString::fromLocal8Bit(argv[1]);
  CSimRuntime::Instance().SetComputerName("ENGINEERING01");
  TestContext test;
  bool saved = true;
  {
    CServerSelectionDlg dialog(test.context, nullptr);
    dialog.show();
    CServerSelectionModel& model = *dialog.Model();
    QTreeView* view = dialog.TreeView();
    const QModelIndex local = model.index(0, 0);
    view->expand(local);
    const QModelIndex network = model.index(1, 0);
    view->expand(network);
    const QModelIndex provider = Child(model, network, "Microsoft Windows Network");
    view->expand(provider);
    const QModelIndex workgroup = Child(model, provider, "WORKGROUP");
    view->expand(workgroup);
    const QModelIndex host = Child(model, workgroup, "\\\\PLANTSRV01");
    view->expand(host);
    const QModelIndex server = Child(model, host, "Velmora Simulation");
    view->expand(server);
    view->setCurrentIndex(server);
    saved = Save(dialog, "server-selection.png") && saved;
  }
  {
    CDirectHostDlg dialog(test.context);
    dialog.HostField()->setText("PLANTSRV01");
    dialog.EnumerateButton()->click();
    saved = Save(dialog, "direct-host.png") && saved;
  }
  {
    CDirectServerDlg dialog(nullptr);
    dialog.HostField()->setText("PLANTSRV01");
    dialog.ServerIdField()->setText(kSimServerProgId);
    dialog.ClassIdField()->setText("6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01");
    saved = Save(dialog, "direct-server.png") && saved;
  }
  {
    COPCServer server(test.context);
    if (!server.Connect(kSimServerProgId, kLocalHost, GUID_NULL))
      return 1;
    COPCGroup* group =
        AddSimGroup(server, "Line 1 Machine 1", 1000,
                    {"Plant.Line1.Machine1.Temperature", "Plant.Line1.Machine1.SetPoint"});
    if (group == nullptr)
      return 1;
    CAddItemDlg dialog(test.context, server, *group);
    dialog.show();
    QAbstractItemModel& tree = *dialog.BrowseTree()->model();
    const QModelIndex plant = Child(tree, tree.index(0, 0), "Plant");
    dialog.BrowseTree()->setCurrentIndex(plant);
    const QModelIndex line = Child(tree, plant, "Line1");
    dialog.BrowseTree()->setCurrentIndex(line);
    dialog.BrowseTree()->setCurrentIndex(Child(tree, line, "Machine1"));
    dialog.LeafList()->selectRow(2);
    dialog.AddButton()->click();
    dialog.SearchField()->setText("*Temperature*");
    saved = Save(dialog, "add-items.png") && saved;
    dialog.BrowseTree()->setCurrentIndex(tree.index(0, 0));
    dialog.Search();
    saved = Save(dialog, "add-items-search.png") && saved;
    CShortIdDlg edit(dialog.Session().ShortIdEditFor(0), [](const std::string& text) {
      return ShortIdCheck{ShortIdVerdict::kAccepted, text, true};
    });
    saved = Save(edit, "short-id.png") && saved;
    server.RemoveAllGroups();
  }
  return saved ? 0 : 1;
}
