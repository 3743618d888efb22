// The yardstick of bench/startup-time: a bare Qt widget program that shows
// one picture, the handheld's photograph.
#include <QApplication>
#include <QLabel>
#include <QPixmap>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel picture;
  picture.setPixmap(QPixmap(QStringLiteral(":/face-photo.png")));
  picture.show();
  return QApplication::exec();
}
