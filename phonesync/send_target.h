#pragma once
// A send target chosen in the send-tool picker and how one file goes to it.
// What the target is follows from its path, once per run:
//   - a launcher (name ending in ".desktop", any case): the program its Exec
//     line names is run with the words after it, then the file;
//   - a program (an executable file, or a link to one): it is run with the file;
//   - anything else ("another target"): the file is copied into it when it is
//     a folder (or a link to one), under the file's own name, through a
//     temporary file renamed into place; a plain file is never written to.
// Programs run in the folder of the engine's library and are waited for.
#include <string>
#include <vector>

namespace brevora::bvsync {

enum class TargetKind { Launcher, Program, Other };

// `target` is a system path.
TargetKind KindOfTarget(const std::string& target);

// The argument vector that sends `file` through a resolved launcher: its
// program, the words of its arguments (none when they are blank), the file.
// Code-page text in (paths with either separator), native (UTF-8) text out.
std::vector<std::string> LauncherArguments(const std::string& program, const std::string& arguments,
                                           const std::string& file);

// Sends the file at `file` (a system path) to `target` of kind `kind`. False
// when it did not arrive: a launcher that does not resolve, a program that
// could not be started or did not exit with 0, a copy that failed, or a target
// nothing can be sent to. Raises only when the support library can't be loaded.
bool SendFile(const std::string& target, TargetKind kind, const std::string& file);

}  // namespace brevora::bvsync
