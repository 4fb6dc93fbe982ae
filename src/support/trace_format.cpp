#include "support/trace_format.h"

#include "support/file_rules.h"
#include "support/numbers.h"
#include "support/text.h"

std::string TraceLogPathFor(const std::string& programPath, const std::string& folder)
{
    std::string name = FileNamePart(programPath);
    if (name.compare(0, 2, "X_") != 0)
        name = "X_" + name;
    return folder + ChangeFileExtension(name, ".log");
}

std::string TraceLineText(TDateTime when, uint32_t threadId, const std::string& prefix,
                          const std::string& message)
{
    return ShortDateTimeText(when) + " " + PadLeft(IntToText(threadId), 5, ' ') + prefix + message + "\r\n";
}

void DebugPieceBuffer::Write(const char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        bytes_[count_++] = bytes[i];
        if (count_ == Capacity)
            Flush();
    }
}

void DebugPieceBuffer::WriteLine(const std::string& text)
{
    Write(text);
    Write("\r\n", 2);
    Flush();
}

void DebugPieceBuffer::Flush()
{
    if (count_ == 0)
        return;
    char piece[Capacity];
    int n = count_;
    for (int i = 0; i < n; ++i)
        piece[i] = bytes_[i];
    count_ = 0;
    if (sink_)
        sink_(piece, n, context_);
}
