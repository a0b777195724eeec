#pragma once

#include <string>

// The per-frame JSON Lines trace of an automated run.
bool OpenTrace(const std::string& path);
void WriteTraceLine(long frame);
void CloseTrace();
// The line the trace writes for this frame (also without a trace file, for tests).
const std::string& BuildTraceLine(long frame);
