// The yardstick for the start-up benchmark: the least a Qt Widgets program can show, an empty
// QWidget of the calculator's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("Korvale");
  window.setFixedSize(210, 225);
  window.show();
  return QApplication::exec();
}
