#include "app/face_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>

#include <vector>

#include "app/main_window.h"
#include "app/qt_text.h"
#include "frontend/face_controls.h"
#include "frontend/face_pointing.h"
#include "game/handheld.h"

namespace wuffel {

namespace {

QHash<const QObject*, FaceAccessibility*>& views() {
  static QHash<const QObject*, FaceAccessibility*> all;
  return all;
}

// A part of the face with no widget of its own: a button or the status line.
class FacePart : public QAccessibleInterface {
 public:
  explicit FacePart(QAccessibleInterface* group) : group_(group) {}
  bool isValid() const override { return group_->isValid(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return group_->window(); }
  QAccessibleInterface* parent() const override { return group_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}

 protected:
  TForm1& form() const { return *static_cast<TForm1*>(group_->object()); }

 private:
  QAccessibleInterface* group_;
};

class FaceButton : public FacePart, public QAccessibleActionInterface {
 public:
  FaceButton(QAccessibleInterface* group, const FaceControl& control) : FacePart(group), control_(control) {}
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return qtText(control_.name);
    if (t == QAccessible::Description) {
      for (const auto& hint : kButtonHints)
        if (hint.id == control_.button) return qtText(hint.hint);
    }
    return {};
  }
  QRect rect() const override {
    const auto& place = elementInfo(control_.button);
    const QRect inWindow = form().faceView().toWindow(QRect(place.left, place.top, place.width, place.height));
    return QRect(form().mapToGlobal(inWindow.topLeft()), inWindow.size());
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    const Handheld* handheld = form().handheld();
    s.disabled = !handheld || !controlActs(control_, handheld->settings());
    s.invisible = !form().isVisible();
    return s;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
  void doAction(const QString& action) override {
    Handheld* handheld = form().handheld();
    if (action != pressAction() || !handheld || state().disabled) return;
    const auto [x, y] = middleOf(control_.button);
    handheld->mousePress(x, y, MouseButton::Left);
    handheld->mouseRelease(x, y, MouseButton::Left);
  }

 private:
  const FaceControl& control_;
};

class FaceStatus : public FacePart {
 public:
  using FacePart::FacePart;
  QAccessible::Role role() const override { return QAccessible::StatusBar; }
  QString text(QAccessible::Text t) const override {
    const FaceAccessibility* view = views().value(&form());
    return t == QAccessible::Name && view ? view->lastAnnouncement() : QString();
  }
  QRect rect() const override { return {}; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    return s;
  }
};

class FaceGroup : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit FaceGroup(TForm1* form) : QAccessibleWidget(form, QAccessible::Grouping) {
    for (const auto& control : kFaceControls) parts_.push_back(new FaceButton(this, control));
    parts_.push_back(new FaceStatus(this));
    for (auto* part : parts_) QAccessible::registerAccessibleInterface(part);
  }
  ~FaceGroup() override {
    for (auto* part : parts_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(part));
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name: return qtText(kApplicationTitle);
      case QAccessible::Description:
        return QStringLiteral("Arrows move, Ctrl swings; the menu key opens the command menu");
      case QAccessible::Value: return QStringLiteral("Score %1").arg(score());
      default: return QAccessibleWidget::text(t);
    }
  }
  int childCount() const override { return static_cast<int>(parts_.size()); }
  QAccessibleInterface* child(int index) const override {
    return index >= 0 && index < childCount() ? parts_[static_cast<std::size_t>(index)] : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* part) const override {
    for (std::size_t i = 0; i < parts_.size(); ++i)
      if (parts_[i] == part) return static_cast<int>(i);
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (auto* part : parts_)
      if (part->rect().contains(x, y)) return part;
    return nullptr;
  }
  QAccessibleInterface* status() const { return parts_.back(); }

  QVariant currentValue() const override { return score(); }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return 9999; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  int score() const {
    const Handheld* handheld = static_cast<TForm1*>(object())->handheld();
    return handheld ? handheld->variables().Score : 0;
  }
  std::vector<QAccessibleInterface*> parts_;
};

QAccessibleInterface* faceFactory(const QString&, QObject* object) {
  auto* form = dynamic_cast<TForm1*>(object);
  return form && views().contains(form) ? new FaceGroup(form) : nullptr;
}

}  // namespace

FaceAccessibility::FaceAccessibility(TForm1& form) : form_(form) {
  static const bool installed = (QAccessible::installFactory(&faceFactory), true);
  (void)installed;
  views().insert(&form, this);
}

FaceAccessibility::~FaceAccessibility() { views().remove(&form_); }

void FaceAccessibility::announce(const std::string& sentence) {
  announcement_ = QString::fromStdString(sentence);
  if (!QAccessible::isActive()) return;
  auto* group = static_cast<FaceGroup*>(QAccessible::queryAccessibleInterface(&form_));
  if (!group) return;
  QAccessibleEvent changed(group->status(), QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
}

void FaceAccessibility::scored(std::int32_t score) {
  if (!QAccessible::isActive()) return;
  QAccessibleInterface* group = QAccessible::queryAccessibleInterface(&form_);
  if (!group) return;
  QAccessibleValueChangeEvent changed(group, score);
  QAccessible::updateAccessibility(&changed);
}

}  // namespace wuffel
