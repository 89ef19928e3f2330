#include "DialogParts.h"

#include <QDialog>
#include <QLayout>
#include <QScreen>
#include <QSpinBox>

#include <algorithm>

namespace {

// A number typed beyond the range stays in the box while the user types (a
// 6 on the way to 60 in a box of 1 to 50 would otherwise be refused, and so
// would the 60 the user meant as "as large as it gets"); when the box
// lets go of the text, the number becomes the nearest bound, and text that is
// no number the minimum.
class TBoundedSpinBox : public QSpinBox {
 public:
  explicit TBoundedSpinBox(QWidget* parent) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  }

 protected:
  QValidator::State validate(QString& input, int& pos) const override {
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid) return state;
    bool number = false;
    Number(input, &number);
    return number ? QValidator::Intermediate : QValidator::Invalid;
  }

  void fixup(QString& input) const override {
    bool number = false;
    const qlonglong value = Number(input, &number);
    input =
        textFromValue(number ? int(std::clamp<qlonglong>(value, minimum(), maximum())) : minimum());
  }

 private:
  qlonglong Number(const QString& input, bool* ok) const {
    QString text = input.trimmed();
    if (text.startsWith(prefix())) text.remove(0, prefix().size());
    if (text.endsWith(suffix())) text.chop(suffix().size());
    return locale().toLongLong(text.trimmed(), ok);
  }
};

}  // namespace

QSpinBox* MakeSpinBox(QWidget* parent, int minimum, int maximum, int value) {
  auto* spin = new TBoundedSpinBox(parent);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  return spin;
}

void FixAndCentre(QDialog* dialog, QWidget* owner) {
  dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
  dialog->adjustSize();
  QWidget* window = owner ? owner->window() : nullptr;
  if (!window) return;
  QPoint place = window->frameGeometry().center() - dialog->rect().center();
  // A dialog larger than a small window would reach past the screen's top
  // or left edge: it stays on the screen.
  if (const QScreen* screen = window->screen()) {
    const QRect free = screen->availableGeometry();
    place.setX(std::max(free.left(), std::min(place.x(), free.right() + 1 - dialog->width())));
    place.setY(std::max(free.top(), std::min(place.y(), free.bottom() + 1 - dialog->height())));
  }
  dialog->move(place);
}
