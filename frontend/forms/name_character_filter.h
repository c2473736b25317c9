#pragma once
// The typing rule of the boxes where a user names a document or a category:
// a typed character that a name can't hold (/ \ : * ? " < > |) is dropped as
// it is typed. Pasted text is not filtered; the box's OK checks the whole name.
class QLineEdit;

namespace brevora::frontend::forms {

// Installs the rule on `box` (its filter object is a child of the box).
void DropReservedNameCharacters(QLineEdit& box);

}  // namespace brevora::frontend::forms
