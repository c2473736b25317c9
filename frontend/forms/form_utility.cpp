#include "frontend/forms/form_utility.h"

#include <algorithm>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

#include "platform/error/error.h"

namespace brevora::frontend::forms::Utility {

void CenterForm(QWidget& form) {
  QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  if (!form.testAttribute(Qt::WA_Resized)) form.adjustSize();
  const QRect area = screen->availableGeometry();
  const QSize size = form.frameGeometry().size();
  form.move(area.x() + (area.width() - size.width()) / 2,
            area.y() + (area.height() - size.height()) / 2);
}

void DoLocalizeControls(QWidget& form) {
  RunWrapped("Utility.DoLocalizeControls", "Could not localize controls.", [&] {
    const QFont locale = QApplication::font();
    QList<QWidget*> widgets = form.findChildren<QWidget*>();
    widgets.prepend(&form);
    for (QWidget* widget : widgets) {
      QFont font = locale;
      font.setBold(widget->font().bold());
      font.setItalic(widget->font().italic());
      font.setUnderline(widget->font().underline());
      if (widget->font().pointSizeF() > 0) font.setPointSizeF(widget->font().pointSizeF());
      widget->setFont(font);
    }
  });
}

void SelectAllText(QLineEdit& textBox) {
  const QString text = textBox.text();
  if (std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char(' '); })) return;
  textBox.setSelection(0, static_cast<int>(textBox.text().size()));
}

}  // namespace brevora::frontend::forms::Utility
