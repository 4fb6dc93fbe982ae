#include "support/process_rules.h"

#include "support/text.h"

bool ProcessMatches(const std::string& name, const std::string& nameShort, const ProcessNames& process,
                    bool fullPathOnly)
{
    if (Trim(process.fullPath).empty() && Trim(process.baseName).empty())
        return false;
    const std::string shortName = Trim(nameShort).empty() ? std::string(MissingShortPath) : nameShort;
    const std::string base = fullPathOnly ? std::string(SuppressedBaseName) : process.baseName;
    return SameTextTrimmed(process.fullPath, name) || SameTextTrimmed(base, name) ||
           SameTextTrimmed(process.shortPath, shortName);
}

void ScoreWindows(const uintptr_t* windows, const uintptr_t* topOwners, const unsigned char* flags, int count,
                  uint16_t* scores)
{
    for (int i = 0; i < count; ++i)
        scores[i] = 0;
    for (int i = 0; i < count; ++i) {
        if (topOwners[i] == 0)
            continue;
        for (int j = 0; j < count; ++j)
            if (windows[j] == topOwners[i])
                ++scores[j];
    }
    for (int i = 0; i < count; ++i) {
        unsigned score = scores[i] * 4u;
        if (flags[i] & WindowCaptioned)
            score += 2;
        if (flags[i] & WindowVisible)
            score += 1;
        scores[i] = static_cast<uint16_t>(score);
    }
}

int BestScoredWindow(const uint16_t* scores, int count)
{
    int best = -1;
    for (int i = 0; i < count; ++i)
        if (scores[i] > 0 && (best < 0 || scores[i] > scores[best]))
            best = i;
    return best;
}
