// The trace log's file name and line format, and the buffer of the debug
// channel that cuts what the program writes into the pieces a debug viewer
// receives. No system calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/datetime.h"

// X_<name>.log in the program's folder; a name that already begins with
// "X_" (exact case) gets no second one, so an agent and its X_ copy share
// one log. folder comes with its trailing backslash.
std::string TraceLogPathFor(const std::string& programPath, const std::string& folder);

// "dd/mm/yy HH:NN:SS" (the user's separators), a blank, the thread id padded
// on the left with blanks to 5 characters, the 3-character prefix, the
// message and CR LF.
std::string TraceLineText(TDateTime when, uint32_t threadId, const std::string& prefix,
                          const std::string& message);

// Collects debug text and hands it on in pieces: whenever 128 bytes are
// held, and after every line end. The sink gets the piece's bytes; it is
// called with the buffer already emptied, so text written while a piece
// is delivered is kept for the next one.
class DebugPieceBuffer {
public:
    static constexpr int Capacity = 128;
    using Sink = void (*)(const char* bytes, int count, void* context);

    constexpr DebugPieceBuffer(Sink sink, void* context) : sink_(sink), context_(context) {}

    void Write(const char* bytes, std::size_t count);
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    // The text, CR LF, then what is held goes out.
    void WriteLine(const std::string& text);
    void Flush();

private:
    Sink sink_;
    void* context_;
    char bytes_[Capacity] = {};
    int count_ = 0;
};
