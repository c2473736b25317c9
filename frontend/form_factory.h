#pragma once
// Where the application object gets its windows from: the process's one
// FormFactory (form.h). The first window request loads libtabrel_forms.so from
// the folder of libtabrelpc.so and calls its exported kInstallFormsSymbol, which
// installs the Qt factory (making the QApplication when the host program has
// none) or declines when there is no display to show windows on.
//
// The factory is process-wide; its forms are per thread (each thread sees only
// the forms it loaded). Installing and loading are thread-safe.
#include <memory>
#include <string>

#include "frontend/form.h"

namespace brevora::frontend {

// The exported function of the forms library: `int BrevoraInstallForms(void)`,
// 0 when it installed its factory, non-zero when no display is available.
inline constexpr const char* kInstallFormsSymbol = "BrevoraInstallForms";
inline constexpr const char* kFormsLibraryName = "libtabrel_forms.so";

// The installed factory, loading the forms library first when none is
// installed. When the library can't be loaded or declines, raises 429 with
// source "TabrelPC" and a description ending "No display is available.".
std::shared_ptr<FormFactory> Forms();

// The same from the library at `libraryPath` (a native path).
std::shared_ptr<FormFactory> LoadForms(const std::string& libraryPath);

// The installed factory, or null; never loads anything. For callers that only
// look for windows that may exist (no factory: no windows).
std::shared_ptr<FormFactory> LoadedFormFactory();

// Installs `factory` (null: none); returns the previous one. The forms library
// installs its own; tests install a recording fake.
std::shared_ptr<FormFactory> InstallFormFactory(std::shared_ptr<FormFactory> factory);

// The native path of the forms library beside libtabrelpc.so.
std::string FormsLibraryPath();

}  // namespace brevora::frontend
