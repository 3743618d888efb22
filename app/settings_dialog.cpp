#include "app/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/panel_look.h"
#include "app/panel_preview.h"
#include "game/handheld.h"

namespace wuffel {

namespace {

QString percent(int value) { return QStringLiteral("%1 %").arg(value); }

// A slider over a setting's range, with its value in percent beside it.
// Stored when let go, not at every step of a drag.
QSlider* percentSlider(Setting setting, const char* name, QWidget* parent, QLabel*& text, QFormLayout* form,
                       const QString& label) {
  auto* row = new QHBoxLayout;
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(QString::fromLatin1(name));
  slider->setRange(settingInfo(setting).low, settingInfo(setting).high);
  slider->setTracking(false);
  text = new QLabel(parent);
  text->setMinimumWidth(text->fontMetrics().horizontalAdvance(percent(100)));
  row->addWidget(slider);
  row->addWidget(text);
  form->addRow(label, row);
  return slider;
}

QWidget* section(QTabWidget* sections, const QString& title) {
  auto* page = new QWidget(sections);
  sections->addTab(page, title);
  return page;
}

}  // namespace

SettingsDialog::SettingsDialog(Handheld& handheld, const FacePictures& pictures, QWidget* parent)
    : QDialog(parent), handheld_(handheld) {
  setWindowTitle(QStringLiteral("Settings"));
  auto* layout = new QVBoxLayout(this);
  // Sections as tabs: the dialog stays small enough for a small screen at
  // twice the desktop's scale.
  auto* sections = new QTabWidget(this);
  sections->setObjectName(QStringLiteral("sections"));
  layout->addWidget(sections);

  auto* play = section(sections, QStringLiteral("Play"));
  auto* playLayout = new QVBoxLayout(play);
  keys_ = new QButtonGroup(this);
  auto* original = new QRadioButton(QStringLiteral("Original: Up and Down move, Ctrl swings, one key at a time"), play);
  auto* modern = new QRadioButton(
      QStringLiteral("Modern: keys act while others are held; Space or Z swing too;\n"
                     "A, B and T are GAME A, GAME B and TIME; P pauses, M mutes;\n"
                     "the HIT, UP and DOWN buttons answer the mouse"),
      play);
  original->setObjectName(QStringLiteral("keys-original"));
  modern->setObjectName(QStringLiteral("keys-modern"));
  keys_->addButton(original, static_cast<int>(KeyMode::Original));
  keys_->addButton(modern, static_cast<int>(KeyMode::Modern));
  pauseOnFocusLoss_ = new QCheckBox(QStringLiteral("Pause the game when another program takes the keyboard"), play);
  pauseOnFocusLoss_->setObjectName(QStringLiteral("pause-on-focus-loss"));
  playLayout->addWidget(original);
  playLayout->addWidget(modern);
  playLayout->addWidget(pauseOnFocusLoss_);
  auto* aids = new QFormLayout;
  speed_ = new QComboBox(play);
  speed_->setObjectName(QStringLiteral("speed"));
  for (int step : kSpeedSteps) speed_->addItem(step == kOriginalSpeed ? QStringLiteral("100 % (original)") : percent(step), step);
  speed_->setToolTip(QStringLiteral("The whole game, its sounds too, runs slower; such games keep best scores of their own"));
  aids->addRow(QStringLiteral("Speed:"), speed_);
  assist_ = new QCheckBox(QStringLiteral("Assist: the dog walks to the next ball by itself; only swing\n"
                                         "(Ctrl, Space, a click on the handheld or a gamepad button)"),
                          play);
  assist_->setObjectName(QStringLiteral("assist"));
  aids->addRow(QString(), assist_);
  playLayout->addLayout(aids);
  playLayout->addStretch();

  auto* sound = section(sections, QStringLiteral("Sound"));
  auto* soundLayout = new QFormLayout(sound);
  volume_ = percentSlider(Setting::Volume, "volume", sound, volumeText_, soundLayout, QStringLiteral("Volume:"));
  volume_->setPageStep(10);
  muted_ = new QCheckBox(QStringLiteral("Mute"), sound);
  muted_->setObjectName(QStringLiteral("muted"));
  soundLayout->addRow(QString(), muted_);
  soundCues_ = new QCheckBox(QStringLiteral("Show each sound: the speaker grille lights up in its colour"), sound);
  soundCues_->setObjectName(QStringLiteral("sound-cues"));
  soundLayout->addRow(QString(), soundCues_);

  auto* window = section(sections, QStringLiteral("Window"));
  auto* windowLayout = new QFormLayout(window);
  zoom_ = new QComboBox(window);
  zoom_->setObjectName(QStringLiteral("zoom"));
  for (int step : kZoomSteps) zoom_->addItem(percent(step), step);
  windowLayout->addRow(QStringLiteral("Size:"), zoom_);
  // Lines broken by hand: a label that wraps itself leaves the dialog too
  // short for its contents under some window managers.
  auto* keysHint = new QLabel(QStringLiteral("Ctrl+Plus, Ctrl+Minus, Ctrl+0 or Ctrl and the mouse wheel change the size;\n"
                                             "F11 shows the handheld full screen."),
                              window);
  keysHint->setEnabled(false);
  windowLayout->addRow(QString(), keysHint);
  rememberPosition_ = new QCheckBox(QStringLiteral("Open the handheld where it was left"), window);
  rememberPosition_->setObjectName(QStringLiteral("remember-position"));
  windowLayout->addRow(QString(), rememberPosition_);

  auto* display = section(sections, QStringLiteral("Display"));
  auto* displayLayout = new QVBoxLayout(display);
  auto* displayForm = new QFormLayout;
  ghosts_ = percentSlider(Setting::Ghosts, "ghosts", display, ghostsText_, displayForm,
                          QStringLiteral("Unlit segments:"));
  ghosts_->setToolTip(QStringLiteral("Shows where every figure can appear, faintly, as on a real panel"));
  contrast_ = percentSlider(Setting::Contrast, "contrast", display, contrastText_, displayForm,
                            QStringLiteral("Contrast:"));
  contrast_->setPageStep(10);
  fade_ = new QCheckBox(QStringLiteral("Segments darken and clear slowly, as liquid crystal does"), display);
  fade_->setObjectName(QStringLiteral("fade"));
  fade_->setToolTip(QStringLiteral("A fast ball leaves a short trail"));
  displayForm->addRow(QString(), fade_);
  displayLayout->addLayout(displayForm);
  preview_ = new PanelPreview(pictures, display);
  displayLayout->addWidget(preview_, 0, Qt::AlignHCenter);
  displayLayout->addStretch();

  notSaved_ = new QLabel(QStringLiteral("A setting could not be saved: it holds until the program ends."), this);
  notSaved_->setObjectName(QStringLiteral("not-saved"));
  notSaved_->hide();
  layout->addWidget(notSaved_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::RestoreDefaults | QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("Restore defaults"));
  layout->addWidget(buttons);

  connect(keys_, &QButtonGroup::idClicked, this, [this](int id) { change(Setting::Keys, id); });
  connect(pauseOnFocusLoss_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::PauseOnFocusLoss, on); });
  connect(speed_, &QComboBox::activated, this, [this](int index) { change(Setting::Speed, speed_->itemData(index).toInt()); });
  connect(assist_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::Assist, on); });
  connect(soundCues_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::SoundCues, on); });
  connect(volume_, &QSlider::sliderMoved, this, [this](int value) { volumeText_->setText(percent(value)); });
  connect(volume_, &QSlider::valueChanged, this, [this](int value) { change(Setting::Volume, value); });
  connect(muted_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::Muted, on); });
  connect(zoom_, &QComboBox::activated, this, [this](int index) { change(Setting::Zoom, zoom_->itemData(index).toInt()); });
  connect(rememberPosition_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::RememberPosition, on); });
  connect(ghosts_, &QSlider::sliderMoved, this, [this](int value) { previewWhileDragged(Setting::Ghosts, value); });
  connect(ghosts_, &QSlider::valueChanged, this, [this](int value) { change(Setting::Ghosts, value); });
  connect(contrast_, &QSlider::sliderMoved, this, [this](int value) { previewWhileDragged(Setting::Contrast, value); });
  connect(contrast_, &QSlider::valueChanged, this, [this](int value) { change(Setting::Contrast, value); });
  connect(fade_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::Fade, on); });
  connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
          [this] { handheld_.restoreDefaultSettings(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Close, Esc and the close box all finish the dialog: the game it paused goes on.
  connect(this, &QDialog::finished, this, [this] { handheld_.closeSettingsForm(); });
  refresh();
}

void SettingsDialog::change(Setting setting, int value) {
  if (handheld_.settings().value(setting) != value) handheld_.changeSetting(setting, value);
}

void SettingsDialog::previewWhileDragged(Setting setting, int value) {
  PanelLook look = preview_->look();
  if (setting == Setting::Ghosts) {
    look.ghosts = value;
    ghostsText_->setText(percent(value));
  } else {
    look.contrast = value;
    contrastText_->setText(percent(value));
  }
  preview_->setLook(look);
}

void SettingsDialog::refresh() {
  const PlayerSettings& s = handheld_.settings();
  const QSignalBlocker a(keys_), b(pauseOnFocusLoss_), c(volume_), d(muted_), e(zoom_), f(rememberPosition_),
      g(ghosts_), h(contrast_), i(fade_), j(speed_), k(assist_), l(soundCues_);
  keys_->button(static_cast<int>(s.keys()))->setChecked(true);
  pauseOnFocusLoss_->setChecked(s.pauseOnFocusLoss());
  volume_->setValue(s.volume());
  volumeText_->setText(percent(s.volume()));
  muted_->setChecked(s.muted());
  zoom_->setCurrentIndex(zoom_->findData(s.zoom()));
  rememberPosition_->setChecked(s.rememberPosition());
  ghosts_->setValue(s.ghosts());
  ghostsText_->setText(percent(s.ghosts()));
  contrast_->setValue(s.contrast());
  contrastText_->setText(percent(s.contrast()));
  fade_->setChecked(s.fade());
  speed_->setCurrentIndex(speed_->findData(s.speed()));
  assist_->setChecked(s.assist());
  soundCues_->setChecked(s.soundCues());
  preview_->setLook(PanelLook::of(s));
}

void SettingsDialog::settingChanged(bool saved) {
  refresh();
  if (!saved) notSaved_->show();
}

void SettingsDialog::showNotSaved(const QString& text) {
  notSaved_->setText(text);
  notSaved_->show();
}

}  // namespace wuffel
