#include "app/splash_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "app/jpeg_image.h"
#include "app/qt_text.h"
#include "game/documents.h"
#include "game/handheld.h"

namespace wuffel {

namespace {

struct LabelStyle {
  int pixelSize;
  bool bold = false;
  bool underline = false;
  QColor colour = Qt::white;
  Qt::Alignment align = Qt::AlignCenter;
};

QLabel* addLabel(QWidget* parent, const QString& text, QRect box, const LabelStyle& style) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(box);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(style.pixelSize);
  font.setBold(style.bold);
  font.setUnderline(style.underline);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, style.colour);
  label->setPalette(palette);
  label->setAlignment(style.align | Qt::AlignVCenter);
  return label;
}

// A label that acts on a click, like a link.
// A link: a click, or Enter or Space once Tab has brought the keyboard to
// it, which a dotted frame shows.
class LinkLabel : public QLabel {
 public:
  LinkLabel(QWidget* parent, std::function<void()> onClick) : QLabel(parent), onClick_(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) onClick_();
  }
  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) onClick_();
    else QLabel::keyPressEvent(event);
  }
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  std::function<void()> onClick_;
};

// The window picture `name` made for the screen's scale, so it stays sharp.
QLabel* addPicture(QWidget* parent, const QString& name, QRect box) {
  auto* label = new QLabel(parent);
  label->setGeometry(box);
  const qreal ratio = parent->devicePixelRatio();
  const int scale = FacePictures::assetScaleFor(ratio);
  QFile file(QStringLiteral(":/assets/windows/%1%2.jpg")
                 .arg(name, scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale)));
  if (!file.open(QIODevice::ReadOnly)) return label;
  QImage image = decodeJpeg(file.readAll());
  const QSize size(qRound(box.width() * ratio), qRound(box.height() * ratio));
  if (!image.isNull() && image.size() != size)
    image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  image.setDevicePixelRatio(ratio);
  label->setPixmap(QPixmap::fromImage(image));
  return label;
}

void makeBlack(QWidget* w) {
  QPalette palette = w->palette();
  palette.setColor(QPalette::Window, Qt::black);
  w->setPalette(palette);
  w->setAutoFillBackground(true);
}

const QColor kAqua(0, 255, 255);
const QColor kSilver(192, 192, 192);

}  // namespace

void installFontSubstitutes() {
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

TSplashForm::TSplashForm(Handheld& handheld)
    : CaptionedWindow(QStringLiteral("About Wuffel Tennis..."), {kSplashFormSize.width, kSplashFormSize.height},
                      CloseBox::None),
      handheld_(handheld) {
  QWidget* area = client();
  makeBlack(area);
  addPicture(area, QStringLiteral("Im_Piccina"), {24, 75, 209, 109});
  addLabel(area, qtText(kApplicationTitle), {17, 16, 222, 15}, {12, true});
  addLabel(area, QStringLiteral("Version " WUFFEL_RELEASE), {81, 32, 96, 15}, {12, true});
  addLabel(area, QStringLiteral("Released as freeware by the Wuffel team, 2026"), {8, 52, 241, 14}, {11});

  auto link = [&](std::string_view text, QRect box, std::function<void()> click) {
    auto* label = new LinkLabel(area, std::move(click));
    label->setText(qtText(text));
    label->setGeometry(box);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kAqua);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
  };
  link(kMailAddress, {18, 252, 222, 15}, [&handheld] { handheld.splashEmail(); });
  link(kWebAddress, {30, 230, 198, 15}, [&handheld] { handheld.splashHttp(); });
  addLabel(area, QStringLiteral("For everyone who still keeps"), {4, 192, 249, 14}, {11, false, false, kSilver});
  addLabel(area, QStringLiteral("a pocket game in a drawer"), {24, 208, 209, 14}, {11, false, false, kSilver});

  auto* play = new QPushButton(QStringLiteral("- PLAY -"), area);
  play->setGeometry(kPlayButtonBox);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  font.setBold(true);
  play->setFont(font);
  play->setCursor(Qt::PointingHandCursor);
  // Tab reaches it; at the start it shows no focus, and Enter plays.
  play->setFocusPolicy(Qt::TabFocus);
  QObject::connect(play, &QPushButton::clicked, [&handheld] { handheld.splashPlay(); });
}

void TSplashForm::closeEvent(QCloseEvent* event) { event->ignore(); }

void TSplashForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) handheld_.splashPlay();
  else CaptionedWindow::keyPressEvent(event);
}

TAboutForm::TAboutForm()
    : CaptionedWindow(QStringLiteral("About the author..."), {kAboutFormSize.width, kAboutFormSize.height},
                      CloseBox::Shown) {
  QWidget* area = client();
  makeBlack(area);
  const LabelStyle caption{11, false, false, kSilver, Qt::AlignLeft};
  const LabelStyle value{11, true, false, Qt::white, Qt::AlignRight};
  // The captions size themselves to their text, which this system's fonts
  // draw a little wider than the places were measured for.
  addLabel(area, QStringLiteral("My real name:"), {13, 104, 67, 14}, caption)->adjustSize();
  addLabel(area, QStringLiteral("My birthplace:"), {13, 128, 81, 14}, caption)->adjustSize();
  addLabel(area, QStringLiteral("My birth date:"), {13, 152, 89, 14}, caption)->adjustSize();
  addLabel(area, QStringLiteral("My current occupation:"), {13, 176, 120, 14}, caption)->adjustSize();
  addLabel(area, QStringLiteral("My hobby:"), {13, 200, 50, 14}, caption)->adjustSize();
  addPicture(area, QStringLiteral("Im_Foto"), {9, 9, 252, 84});
  addLabel(area, QStringLiteral("The Wuffel team"), {152, 104, 109, 14}, value);
  addLabel(area, QStringLiteral("A small workshop"), {160, 128, 101, 14}, value);
  addLabel(area, QStringLiteral("Long ago"), {160, 152, 101, 14}, value);
  addLabel(area, QStringLiteral("Game tinkerers"), {136, 176, 125, 14}, value);
  addLabel(area, QStringLiteral("Old handhelds"), {168, 200, 93, 14}, value);
  auto* bevel = new QFrame(area);
  bevel->setGeometry(9, 9, 256, 84);
  bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  move(0, 0);
}

}  // namespace wuffel
