#include "platform/automation/object.h"

namespace brevora {

// Out of line so the class's identity (vtable, typeinfo) lives in this library only.
Object::~Object() = default;

}  // namespace brevora
