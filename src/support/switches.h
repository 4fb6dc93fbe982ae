// Command-line switches: "/NAME=value" (the value in double quotes when it
// holds blanks or "/") or a bare flag "/NAME". Names are given with their
// leading "/" and, for a valued switch, their trailing "=", and are found
// anywhere in the command tail, ignoring case.
#pragma once

#include <cstdint>
#include <string>

// The command line with the program's own path (in double quotes, or else
// bare) taken out once, trimmed. A program started under another name than
// its full path keeps that name in the tail.
std::string CommandTailOf(const std::string& commandLine, const std::string& programPath);

// The switch's value: "TRUE" when the name ends the tail, the empty text
// when the switch is absent. An unquoted value ends at the first space or
// "/"; a quoted one at the closing double quote.
std::string SwitchValueIn(const std::string& tail, const std::string& name);

// True when the name occurs anywhere in the tail, ignoring case.
bool SwitchPresentIn(const std::string& tail, const std::string& name);

// The value read as an integer text; def when absent, a bare flag or not an
// integer.
int64_t SwitchIntIn(const std::string& tail, const std::string& name, int64_t def);
