// Scrambled texts and the INFORM file. A scrambled text is the mark
// "Scrambled=01", one key byte (33 to 122) and the body, each byte at
// 1-based position i xored with (i + k) for odd i and (i - k) for even i,
// modulo 256. An INFORM file reads: anything, "|", the stored token, "|",
// two fields each closed by "|", then the body (which may hold "|").
#pragma once

#include <string>

extern const char ScrambleMark[];  // "Scrambled=01"

// With scramble set, a plain text becomes a scrambled one under a new
// random key; with scramble clear, a scrambled text becomes plain. A text
// already in the requested form is returned unchanged.
std::string ScrambleText(const std::string& text, bool scramble);
// Scrambling with a given key (33 to 122), for reproducible output.
std::string ScrambleTextWithKey(const std::string& text, int key);

// The INFORM content for a stored token and a body: "INFORM|" token "|||"
// body.
std::string BuildInformText(const std::string& storedToken, const std::string& body);

// The stored token field (not descrambled) and the body of an INFORM
// content, scrambled or not. A field whose closing "|" is missing is
// empty and the rest of the text goes on to the next field.
void SplitInformText(const std::string& content, std::string& storedToken, std::string& body);
