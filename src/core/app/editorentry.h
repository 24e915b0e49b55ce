// The widget library's two entry points. The program loads the library only
// when a window is wanted and finds them by name; both sides see this one
// declaration, so a change of signature cannot pass unnoticed.
#pragma once

extern "C" {

/// Shows `utf8` in the program's message box, starting Qt first if needed.
__attribute__((visibility("default"))) void tafelbau_message_box(const char *utf8);

/// Runs the editor on the program's command line; the exit status.
__attribute__((visibility("default"))) int tafelbau_run_editor(int argc, char **argv);

} // extern "C"

namespace tafelbau {

inline constexpr char kEditorLibrary[] = "libtafelbau_ui.so";
inline constexpr char kMessageBoxSymbol[] = "tafelbau_message_box";
inline constexpr char kRunEditorSymbol[] = "tafelbau_run_editor";

using MessageBoxEntry = decltype(&tafelbau_message_box);
using RunEditorEntry = decltype(&tafelbau_run_editor);

} // namespace tafelbau
