#include "TraceDigest.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

const std::string kHeader = "# lirra trace digest; fields";
const char* const kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";
constexpr int kChecksumChars = 4;  // 24 bits
constexpr size_t kShownValueLength = 240;

uint32_t Fnv(uint32_t hash, const std::string& text) {
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

constexpr uint32_t kFnvStart = 2166136261u;

uint32_t Low24(uint32_t hash) {
    return (hash ^ (hash >> 24)) & 0xFFFFFFu;
}

std::string Encode24(uint32_t value) {
    std::string text(kChecksumChars, '0');
    for (int i = kChecksumChars - 1; i >= 0; --i, value >>= 6) {
        text[i] = kAlphabet[value & 63u];
    }
    return text;
}

bool Decode24(const std::string& text, uint32_t& value) {
    value = 0;
    for (const char c : text) {
        const char* at = std::strchr(kAlphabet, c);
        if (c == '\0' || at == nullptr) {
            return false;
        }
        value = (value << 6) | static_cast<uint32_t>(at - kAlphabet);
    }
    return true;
}

// The covered fields' texts of a line, in the digest's order; a missing field is empty.
std::vector<std::string> CoveredTexts(const std::string& line, const std::vector<std::string>& fields) {
    std::vector<std::string> texts(fields.size());
    for (const auto& [name, text] : SplitTraceLine(line)) {
        const auto at = std::find(fields.begin(), fields.end(), name);
        if (at != fields.end()) {
            texts[static_cast<size_t>(at - fields.begin())] = text;
        }
    }
    return texts;
}

long BlockCount(long frames) {
    return (frames + kDigestBlockFrames - 1) / kDigestBlockFrames;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : ", ") + item;
    }
    return text;
}

std::string Shortened(const std::string& text) {
    return text.size() <= kShownValueLength ? text : text.substr(0, kShownValueLength) + "...";
}

std::string ReplayedValues(const std::string& line, const std::vector<std::string>& fields) {
    std::string shown;
    for (const auto& [name, text] : SplitTraceLine(line)) {
        if (std::find(fields.begin(), fields.end(), name) != fields.end()) {
            shown += "; replayed " + name + ": " + Shortened(text);
        }
    }
    return shown;
}

}  // namespace

const std::vector<std::string>& DigestFields() {
    static const std::vector<std::string> fields = {"dt",     "state",      "menu",      "player",
                                                    "camera", "dialogue",   "enemies",   "interactables",
                                                    "boss",   "transition", "cinematic", "console"};
    return fields;
}

std::vector<std::pair<std::string, std::string>> SplitTraceLine(const std::string& line) {
    std::vector<std::pair<std::string, std::string>> fields;
    size_t at = line.find('{');
    while (at != std::string::npos && at < line.size()) {
        const size_t keyStart = line.find('"', at);
        if (keyStart == std::string::npos) {
            break;
        }
        const size_t keyEnd = line.find('"', keyStart + 1);
        const size_t colon = keyEnd == std::string::npos ? keyEnd : line.find(':', keyEnd);
        if (colon == std::string::npos) {
            break;
        }
        size_t valueStart = line.find_first_not_of(' ', colon + 1);
        size_t end = valueStart;
        int depth = 0;
        bool quoted = false;
        for (; end < line.size(); ++end) {
            const char c = line[end];
            if (quoted) {
                end += c == '\\' ? 1 : 0;
                quoted = c != '"';
            } else if (c == '"') {
                quoted = true;
            } else if (c == '{' || c == '[') {
                ++depth;
            } else if ((c == '}' || c == ']') && depth > 0) {
                --depth;
            } else if (depth == 0 && (c == ',' || c == '}')) {
                break;
            }
        }
        fields.emplace_back(line.substr(keyStart + 1, keyEnd - keyStart - 1),
                            line.substr(valueStart, end - valueStart));
        at = end < line.size() && line[end] == ',' ? end + 1 : std::string::npos;
    }
    return fields;
}

TraceDigest DigestTrace(const std::vector<std::string>& traceLines) {
    TraceDigest digest;
    digest.fields = DigestFields();
    std::vector<uint32_t> history(digest.fields.size(), kFnvStart);
    std::vector<std::string> previous;
    for (size_t frame = 0; frame < traceLines.size(); ++frame) {
        const std::vector<std::string> texts = CoveredTexts(traceLines[frame], digest.fields);
        uint32_t mark = kFnvStart;
        for (size_t i = 0; i < texts.size(); ++i) {
            mark = Fnv(mark, texts[i] + '\n');
            // A field's history takes in each change and the frame it happened on.
            if (previous.empty() || texts[i] != previous[i]) {
                history[i] = Fnv(history[i], std::to_string(frame) + ':' + texts[i] + '\n');
            }
        }
        digest.marks += kAlphabet[Low24(mark) & 63u];
        previous = texts;
        if ((frame + 1) % kDigestBlockFrames == 0 || frame + 1 == traceLines.size()) {
            std::vector<uint32_t> checkpoint;
            for (const uint32_t hash : history) {
                checkpoint.push_back(Low24(hash));
            }
            digest.checkpoints.push_back(checkpoint);
        }
    }
    return digest;
}

// A line per block: the block's marks, then for each field whose checksum moved in the block
// its letter and new checksum.
std::string DigestText(const TraceDigest& digest) {
    std::string text = kHeader;
    for (const std::string& field : digest.fields) {
        text += ' ' + field;
    }
    text += '\n';
    for (size_t block = 0; block < digest.checkpoints.size(); ++block) {
        text += digest.marks.substr(block * kDigestBlockFrames, kDigestBlockFrames);
        for (size_t i = 0; i < digest.fields.size(); ++i) {
            const uint32_t checksum = digest.checkpoints[block][i];
            if (block == 0 || checksum != digest.checkpoints[block - 1][i]) {
                text += ' ';
                text += static_cast<char>('a' + i);
                text += Encode24(checksum);
            }
        }
        text += '\n';
    }
    return text;
}

bool ParseDigest(const std::string& text, TraceDigest& digest, std::string& problem) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line.rfind(kHeader, 0) != 0) {
        problem = "it does not begin with \"" + kHeader + "\"";
        return false;
    }
    digest = TraceDigest{};
    std::istringstream header(line.substr(kHeader.size()));
    for (std::string field; header >> field;) {
        digest.fields.push_back(field);
    }
    std::vector<uint32_t> checksums(digest.fields.size(), 0);
    for (long number = 2; std::getline(in, line); ++number) {
        std::istringstream words(line);
        std::string marks;
        words >> marks;
        if (marks.empty() || marks.size() > static_cast<size_t>(kDigestBlockFrames)) {
            problem = "line " + std::to_string(number) + " has no marks of a block";
            return false;
        }
        digest.marks += marks;
        for (std::string token; words >> token;) {
            const size_t field = static_cast<size_t>(token[0] - 'a');
            uint32_t checksum = 0;
            if (field >= checksums.size() || token.size() != 1 + kChecksumChars ||
                !Decode24(token.substr(1), checksum)) {
                problem = "line " + std::to_string(number) + " has a bad checksum \"" + token + "\"";
                return false;
            }
            checksums[field] = checksum;
        }
        digest.checkpoints.push_back(checksums);
    }
    if (static_cast<long>(digest.checkpoints.size()) != BlockCount(static_cast<long>(digest.marks.size()))) {
        problem = "a block short of its marks";
        return false;
    }
    return true;
}

bool ReadDigest(const std::string& path, TraceDigest& digest, std::string& problem) {
    std::ifstream in(path);
    if (!in) {
        problem = path + " cannot be read";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!ParseDigest(text.str(), digest, problem)) {
        problem = path + ": " + problem;
        return false;
    }
    return true;
}

bool WriteDigest(const std::string& path, const TraceDigest& digest) {
    std::ofstream out(path);
    out << DigestText(digest);
    return static_cast<bool>(out);
}

std::string WhereReplayParts(const TraceDigest& recorded, const std::vector<std::string>& replayedLines) {
    if (recorded.fields != DigestFields()) {
        return "the recording's digest covers the fields " + Joined(recorded.fields) + ", the judge's " +
               Joined(DigestFields());
    }
    const TraceDigest replayed = DigestTrace(replayedLines);
    const long recordedFrames = static_cast<long>(recorded.marks.size());
    const long replayedFrames = static_cast<long>(replayed.marks.size());
    const long common = std::min(recordedFrames, replayedFrames);
    for (long block = 0; block < BlockCount(common); ++block) {
        const long first = block * kDigestBlockFrames;
        const long last = std::min(first + kDigestBlockFrames, common) - 1;
        // A block cut short by a shorter replay is judged by its marks alone.
        const bool whole = last + 1 == std::min(first + kDigestBlockFrames, std::max(recordedFrames, replayedFrames));
        std::vector<std::string> fields;
        for (size_t i = 0; whole && i < recorded.fields.size(); ++i) {
            if (recorded.checkpoints[block][i] != replayed.checkpoints[block][i]) {
                fields.push_back(recorded.fields[i]);
            }
        }
        long parted = -1;
        for (long frame = first; frame <= last && parted < 0; ++frame) {
            parted = recorded.marks[frame] != replayed.marks[frame] ? frame : -1;
        }
        if (parted < 0 && fields.empty()) {
            continue;
        }
        const long at = parted >= 0 ? parted : first;
        return "the replay parts from its recording at frame " + std::to_string(at) +
               (parted >= 0 ? "" : " or later in its block") +
               (fields.empty() ? "" : " (differing by frame " + std::to_string(last) + ": " + Joined(fields) + ")") +
               ReplayedValues(replayedLines[static_cast<size_t>(at)], fields.empty() ? DigestFields() : fields);
    }
    if (recordedFrames != replayedFrames) {
        return "the replay ran " + std::to_string(replayedFrames) + " frames, the recording " +
               std::to_string(recordedFrames);
    }
    return "";
}
