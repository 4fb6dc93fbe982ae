// Settings files in the profile-file format ([section], key=value),
// through the system's profile-string service, which handles missing
// files, sections and keys. Values longer than 10 240 bytes are cut.
#pragma once

#include <cstdint>
#include <string>

std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& def);
// The stored text read by the integer-text rule; def when it is missing or
// not an integer.
int64_t ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int64_t def);

// Creates file, section and key as needed; true on success.
bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value);
bool WriteIniInt(const std::string& file, const std::string& section, const std::string& key, int64_t value);
