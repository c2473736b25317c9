#pragma once
// OfficeObject: the Office application one converter call works in, in the one
// shape the three drivers hand it out (Excel: sheet/excel.h, Word:
// doc/word_application.h, PowerPoint: slides/powerpoint_app.h). Each driver
// gives:
//   Get<App>Object()   the running application, else a new one, refused below
//                      the oldest version the suite's add-in runs in;
//   <App>FromPool()    in server mode, the application the server pool lends;
//   <App>Version(app)  the number at the start of its Version text;
//   OpenAddIn(...)     the suite's add-in loaded into it.
// `holder` hands the application back by where it came from on every path
// (office_app.h); `app` is the Application object the add-in's macros run in;
// `version` is the major version when the driver reads it on the way in
// (Excel, whose add-in file is chosen by it), else 0.
#include <cstdint>

#include "office/office_app.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::office {

struct OfficeObject {
  OfficeApp holder;
  Ref<Dispatch> app;
  int16_t version = 0;
};

}  // namespace brevora::office
