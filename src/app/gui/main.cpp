// Velmora OPC Explorer: the desktop program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Velmora 2.0");
  window.show();
  return app.exec();
}
