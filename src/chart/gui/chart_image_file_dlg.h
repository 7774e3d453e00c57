#pragma once
// CChartImageFileDlg: "Save Chart to Image File", where the chart picture's folder,
// name and type are chosen. The type is picked in the list of the encoders there are;
// the extension follows the type picked, not the one last used.
// Thread rule: GUI thread.
#include <QDialog>
#include <QStringList>
#include <optional>
#include <string>

struct AppContext;
class QLineEdit;
class QListWidget;
class QPushButton;

// What the dialog chose: the folder, the file name with its extension, the type.
struct ChartImageChoice {
  std::string folder;
  std::string fileName;
  std::string type;
};

class CChartImageFileDlg : public QDialog {
  Q_OBJECT
 public:
  // types: the encoders ("bmp", "jpeg", "png" ...); folder and storedType: where and what
  // the fields start with.
  CChartImageFileDlg(const QStringList& types, const std::string& folder,
                     const std::string& storedType, AppContext& context, QWidget* parent = nullptr);

  // The choice after OK: the selected type ("jpeg" when none is), its extension added
  // to the name unless the name already holds it.
  ChartImageChoice Choice() const;

  QLineEdit* PathField() const { return m_pPath; }
  QLineEdit* NameField() const { return m_pName; }
  QListWidget* TypeList() const { return m_pTypes; }
  QPushButton* OkButton() const { return m_pOk; }

 private:
  void Browse();

  AppContext& m_context;
  QLineEdit* m_pPath = nullptr;
  QLineEdit* m_pName = nullptr;
  QListWidget* m_pTypes = nullptr;
  QPushButton* m_pOk = nullptr;
};

// Asks for the file of the chart picture and remembers the folder and the type
// (SaveGraphImgPath, SaveGraphImgExt); empty when cancelled.
std::optional<ChartImageChoice> ChooseChartImageFile(AppContext& context,
                                                     const std::string& databasePath);
