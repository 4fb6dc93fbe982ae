// The manifest: an INI file (UTF-8) that describes one package. See
// docs/varnel-pack.md for its sections and keys.
#pragma once

#include <string>

#include "pack_writer.h"

struct ManifestOptions {
    std::string output;       // -o; empty: the manifest's Output
    std::string defaultStub;  // stub.exe beside the tool; used when Stub is not given
};

// Reads the manifest into a package description: texts converted to their
// code pages, tokens scrambled, dates taken. Throws PackError naming the
// file and line of a fault.
PackSpec ReadManifest(const std::string& path, const ManifestOptions& options);

// The random start of a token's stored form, and the dates of the entries: fixed by
// SOURCE_DATE_EPOCH when it is set (dates then are at most that moment and in
// UTC), otherwise random and local.
bool ReproducibleEpoch(long long& epoch);
