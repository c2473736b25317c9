#pragma once
// Utility: what every form of the front end does with its window: centre it,
// give its controls the user's locale font, select a text box's text.
class QLineEdit;
class QWidget;

namespace brevora::frontend::forms::Utility {

// Places the window in the middle of its screen's free area.
void CenterForm(QWidget& form);
// Gives the window and every control on it the default font of the user's
// locale (size and style of each control kept). A failure raises 32760
// "Utility.DoLocalizeControls" "Could not localize controls.".
void DoLocalizeControls(QWidget& form);
// Selects the whole text of the box when it is not blank; nothing else.
void SelectAllText(QLineEdit& textBox);

}  // namespace brevora::frontend::forms::Utility
