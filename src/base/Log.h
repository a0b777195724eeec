#pragma once

// Every diagnostic line of the game goes through here, so where they go is decided in one place.
//
// The error policy: a fault is reported here and the game goes on with the sound fallback (a
// missing asset draws nothing, a bad level file loads nothing, no audio device plays silence).
// Only two start-up failures end the process, because without them no frame can be shown:
// GLFW or the window with its GL context cannot be created. The command line's refusals are
// not faults of the game: they go to standard error and main returns 2 before the window opens.

// printf-style; the text goes to standard output exactly as formatted, and is flushed at once so
// no line is lost when the process ends abruptly.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same for standard error: the command line's refusals and GLFW's own error reports.
void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
