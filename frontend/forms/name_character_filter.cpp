#include "frontend/forms/name_character_filter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "frontend/name_validator.h"

namespace brevora::frontend::forms {
namespace {

bool Reserved(QChar c) {
  return c.unicode() < 0x80 && IsReservedNameCharacter(static_cast<char>(c.unicode()));
}

class ReservedCharacterDropper : public QObject {
 public:
  explicit ReservedCharacterDropper(QLineEdit& box) : QObject(&box), box_(box) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &box_ || event->type() != QEvent::KeyPress) return false;
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    if (std::none_of(typed.begin(), typed.end(), Reserved)) return false;
    // The key's text without the reserved characters goes in as typed.
    QString kept;
    for (QChar c : typed) {
      if (!Reserved(c)) kept.append(c);
    }
    if (!kept.isEmpty()) box_.insert(kept);
    return true;
  }

 private:
  QLineEdit& box_;
};

}  // namespace

void DropReservedNameCharacters(QLineEdit& box) {
  box.installEventFilter(new ReservedCharacterDropper(box));
}

}  // namespace brevora::frontend::forms
