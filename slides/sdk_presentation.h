#pragma once
// SDK_Presentation ("TabulynPC.SDK_Presentation"): converts between PowerPoint
// files and presentation databases. Conversions that need PowerPoint run in
// the suite's PowerPoint add-in (slides/powerpoint_app.h): the converter gets
// PowerPoint (a pool server in server mode), loads the add-in, hands it the
// Session's values, runs one macro on the file names, takes the values back,
// gives PowerPoint back and raises what the add-in left in the Session's error
// slot. Copies between database files and a user's folders run in process
// through Presentation.
//
// PowerPoint is given back by how it was obtained, on every path: a pool
// server is released, a PowerPoint this call started is quit (the document
// methods that show it to the user keep it running when they succeed), one
// that was running already is left alone. The error slot is emptied before the
// add-in runs. Its main window is hidden only when this call started it; on
// Linux hiding a window by class is a no-op, recorded in HiddenWindowClasses.
//
// Every Session value is read and written through the application object's
// Session. Errors: each public method raises 32760 with its own source and
// message around any other error (table in sdk_presentation.cpp); 32760
// passes on unchanged, except in RemoveFromUser, which wraps every error.
#include <string>
#include <string_view>
#include <vector>

#include "office/converter.h"
#include "platform/automation/member_table.h"

namespace brevora::core {
class Application;
class Session;
}  // namespace brevora::core
namespace brevora::office {
struct OfficeObject;
}

namespace brevora::slides {

class SDK_Presentation : public Dispatchable<SDK_Presentation, office::Converter> {
 public:
  static constexpr const char* kProgId = "TabulynPC.SDK_Presentation";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B0B}";

  static const MemberTable<SDK_Presentation>& Members();

  SDK_Presentation();
  ~SDK_Presentation() override;

  // In process, through Presentation.
  void PPTToPDBExt(std::string_view pptFileName, std::string_view pdbFileName);
  void CopyPDBToDesktop(std::string_view pdbFile, std::string_view user, std::string_view category,
                        std::string_view presentation);
  // A file that is not a presentation database is left alone, silently.
  void CopyPDBToExternal(std::string_view pdbFile, std::string_view sldFile);
  void DesktopPDBToExternal(std::string_view user, std::string_view category,
                            std::string_view presentation, std::string_view databaseFile);
  void DesktopPDBToPPT(std::string_view user, std::string_view category,
                       std::string_view presentation, std::string_view pptFile);
  void PDBToPPTExt(std::string_view pdbFileName, std::string_view pptFileName);
  // Deletes the user's presentation (category and name must be plain names),
  // then refreshes the desktop windows.
  void RemoveFromUser(std::string_view user, std::string_view category,
                      std::string_view presentation);
  void Refresh();

  // Inside PowerPoint.
  // Opens the file in PowerPoint for the user, shown in a normal window.
  void OpenPPTPresentation(std::string_view file);
  // "!OpenPresentation" / "!SavePresentation" on a user's presentation; when
  // the macro answers True PowerPoint is shown. Neither quits PowerPoint then.
  void OpenPresentation(std::string_view user, std::string_view category,
                        std::string_view presentation);
  void SavePresentation(std::string_view user, std::string_view category,
                        std::string_view presentation);
  // The conversions: "!PPTToPDBExt", "!PDBToPPTExt", "!PPTToPDB".
  void PPTToPDBExtSync(std::string_view pptFile, std::string_view sldFile, std::string_view link);
  void PDBToPPTExtSync(std::string_view sldFile, std::string_view pptFile,
                       std::string_view options);
  void PPTToPDB(std::string_view pptFile, std::string_view user, std::string_view category,
                std::string_view presentation);

  // Stores the Session (nothing included) and takes the application object a
  // Session hands out.
  void SetSession(Ref<core::Session> session);

  // The window classes HidePowerPointWindow was asked to hide, in order.
  const std::vector<std::string>& HiddenWindowClasses() const { return hiddenWindowClasses_; }

 private:
  enum class Use { Sync, Open, Save };

  // The macro sequence of the conversions (Sync) and of the two document
  // methods; returns the macro's result.
  Variant RunSequence(Use use, const char* macro, std::vector<Variant> args, std::string_view user);
  office::OfficeObject TakePowerPoint(Use use);
  void HidePowerPointWindow(Dispatch& app);
  void ShowPowerPoint(Dispatch& app);

  std::vector<std::string> hiddenWindowClasses_;
};

}  // namespace brevora::slides
