// The agent's trace log: X_<program name>.log in the program's folder,
// one time-stamped line appended per call while the log is on. The file
// is opened and closed for every line, so lines survive a forced end and
// two processes can share the log.
#pragma once

#include <string>

std::string TracePath();
// Three characters that tell the writer apart ("   ", or " X " in the
// agent's transient copy).
void SetTracePrefix(const std::string& prefix);
void SetTraceLogOn(bool on);
bool TraceLogOn();
void TraceLine(const std::string& message);
