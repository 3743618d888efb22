#include "app/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "game/handheld.h"

namespace wuffel {

namespace {
QString percent(int value) { return QStringLiteral("%1 %").arg(value); }
}  // namespace

SettingsDialog::SettingsDialog(Handheld& handheld, QWidget* parent) : QDialog(parent), handheld_(handheld) {
  setWindowTitle(QStringLiteral("Settings"));
  auto* layout = new QVBoxLayout(this);

  auto* play = new QGroupBox(QStringLiteral("Play"), this);
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
  layout->addWidget(play);

  auto* sound = new QGroupBox(QStringLiteral("Sound"), this);
  auto* soundLayout = new QFormLayout(sound);
  auto* volumeRow = new QHBoxLayout;
  volume_ = new QSlider(Qt::Horizontal, sound);
  volume_->setObjectName(QStringLiteral("volume"));
  volume_->setRange(settingInfo(Setting::Volume).low, settingInfo(Setting::Volume).high);
  volume_->setPageStep(10);
  // Stored when let go, not at every step of a drag.
  volume_->setTracking(false);
  volumeText_ = new QLabel(sound);
  volumeText_->setMinimumWidth(volumeText_->fontMetrics().horizontalAdvance(percent(100)));
  volumeRow->addWidget(volume_);
  volumeRow->addWidget(volumeText_);
  soundLayout->addRow(QStringLiteral("Volume:"), volumeRow);
  muted_ = new QCheckBox(QStringLiteral("Mute"), sound);
  muted_->setObjectName(QStringLiteral("muted"));
  soundLayout->addRow(QString(), muted_);
  layout->addWidget(sound);

  auto* window = new QGroupBox(QStringLiteral("Window"), this);
  auto* windowLayout = new QFormLayout(window);
  zoom_ = new QComboBox(window);
  zoom_->setObjectName(QStringLiteral("zoom"));
  for (int step : kZoomSteps) zoom_->addItem(percent(step), step);
  windowLayout->addRow(QStringLiteral("Size:"), zoom_);
  auto* keysHint = new QLabel(QStringLiteral("Ctrl+Plus, Ctrl+Minus, Ctrl+0 or Ctrl and the mouse wheel change "
                                             "the size; F11 shows the handheld full screen."),
                              window);
  keysHint->setWordWrap(true);
  keysHint->setEnabled(false);
  windowLayout->addRow(QString(), keysHint);
  rememberPosition_ = new QCheckBox(QStringLiteral("Open the handheld where it was left"), window);
  rememberPosition_->setObjectName(QStringLiteral("remember-position"));
  windowLayout->addRow(QString(), rememberPosition_);
  layout->addWidget(window);

  notSaved_ = new QLabel(QStringLiteral("A setting could not be saved: it holds until the program ends."), this);
  notSaved_->setObjectName(QStringLiteral("not-saved"));
  notSaved_->setWordWrap(true);
  notSaved_->hide();
  layout->addWidget(notSaved_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::RestoreDefaults | QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("Restore defaults"));
  layout->addWidget(buttons);

  connect(keys_, &QButtonGroup::idClicked, this, [this](int id) { change(Setting::Keys, id); });
  connect(pauseOnFocusLoss_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::PauseOnFocusLoss, on); });
  connect(volume_, &QSlider::sliderMoved, this, [this](int value) { volumeText_->setText(percent(value)); });
  connect(volume_, &QSlider::valueChanged, this, [this](int value) { change(Setting::Volume, value); });
  connect(muted_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::Muted, on); });
  connect(zoom_, &QComboBox::activated, this, [this](int index) { change(Setting::Zoom, zoom_->itemData(index).toInt()); });
  connect(rememberPosition_, &QCheckBox::toggled, this, [this](bool on) { change(Setting::RememberPosition, on); });
  connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
          [this] { handheld_.restoreDefaultSettings(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  refresh();
}

void SettingsDialog::change(Setting setting, int value) {
  if (handheld_.settings().value(setting) != value) handheld_.changeSetting(setting, value);
}

void SettingsDialog::refresh() {
  const PlayerSettings& s = handheld_.settings();
  const QSignalBlocker a(keys_), b(pauseOnFocusLoss_), c(volume_), d(muted_), e(zoom_), f(rememberPosition_);
  keys_->button(static_cast<int>(s.keys()))->setChecked(true);
  pauseOnFocusLoss_->setChecked(s.pauseOnFocusLoss());
  volume_->setValue(s.volume());
  volumeText_->setText(percent(s.volume()));
  muted_->setChecked(s.muted());
  zoom_->setCurrentIndex(zoom_->findData(s.zoom()));
  rememberPosition_->setChecked(s.rememberPosition());
}

void SettingsDialog::settingChanged(bool saved) {
  refresh();
  if (!saved) notSaved_->show();
}

}  // namespace wuffel
