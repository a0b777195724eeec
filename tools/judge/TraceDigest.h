#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A compact fingerprint of a demo's trace, kept beside the demo so that a replay which parts
// from its recording can say where: one mark per frame over what the player sees and does, and
// at the end of every block of frames a checksum of each such field's history.
struct TraceDigest {
    std::vector<std::string> fields;
    std::string marks;                               // one character per frame
    std::vector<std::vector<uint32_t>> checkpoints;  // per block, one checksum per field
};

// The top-level trace fields a digest covers; counts of objects and particles and the bloom
// settings are left out, so a change that plays the same keeps its demos.
const std::vector<std::string>& DigestFields();
constexpr long kDigestBlockFrames = 60;

TraceDigest DigestTrace(const std::vector<std::string>& traceLines);
std::string DigestText(const TraceDigest& digest);
bool ParseDigest(const std::string& text, TraceDigest& digest, std::string& problem);
bool ReadDigest(const std::string& path, TraceDigest& digest, std::string& problem);
bool WriteDigest(const std::string& path, const TraceDigest& digest);

// Empty while the replayed trace follows the recording; otherwise the first frame that differs,
// the fields that differ by the end of its block and their replayed values on that frame.
std::string WhereReplayParts(const TraceDigest& recorded, const std::vector<std::string>& replayedLines);

// The top-level fields of one trace line as name and JSON text.
std::vector<std::pair<std::string, std::string>> SplitTraceLine(const std::string& line);
