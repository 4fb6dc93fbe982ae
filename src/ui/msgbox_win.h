// The message box: a modal rich-text window of class "VMsgBox" with up to
// three buttons, in the package's font and character set. Style bits and
// result codes are those of the system's message box (see msgbox_rules.h).
#pragma once

#include <cstdint>
#include <string>

// Owner: 0 heading mode (the caption repeated in bold above the text), 1
// plain, 2 plain and not closable, above 2 a window handle.
using MsgBoxOwner = std::uintptr_t;

// The font of every later box. A size of 0 keeps the size.
void SetMsgBoxFont(const std::string& faceName, int sizePoints, int charset);

// Shows the box and returns the result code (0 when closed by its close
// command). Empty labels give empty buttons: callers pass a full list.
int ShowMsgBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
               const std::string& labels, int charset, unsigned style, int timeoutMs);

// Empty labels and captions take the built-in English ones.
void ErrorBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
              const std::string& labels, int charset);
void AttentionBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
                  const std::string& labels, int charset, int timeoutMs);
bool ConfirmBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
                const std::string& labels, int charset, int timeoutMs);
bool OkCancelBox(MsgBoxOwner owner, const std::string& text, const std::string& caption,
                 const std::string& labels, int charset);

// Loads the libraries the program relies on from the start (shell32,
// USP10, MSLS31 and RICHED32) with the system's error box for missing
// files suppressed. Runs by itself before the program's entry wherever the
// message box is linked; calling it again does no harm.
void LoadStartupLibraries();
