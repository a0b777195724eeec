#pragma once

#include <string>
#include <vector>

// Runs of the real game binary on a damaged copy of its data directory.

enum class Damage { MISSING, TRUNCATED, RANDOM_BYTES };

const char* DamageName(Damage damage);

// A copy of the built data directory made of hard links, so it costs no space; a damaged file is
// unlinked first and written anew, so the built data is never touched. Removed on destruction.
class DataCopy {
public:
    DataCopy();
    ~DataCopy();
    DataCopy(const DataCopy&) = delete;
    DataCopy& operator=(const DataCopy&) = delete;

    const std::string& Path() const { return path; }
    std::string PathOf(const std::string& file) const { return path + "/" + file; }
    // Missing: gone. Truncated: its first half. Random bytes: as many bytes as it had, drawn from a
    // generator seeded with the file's name, so every run damages it alike.
    void Damage(const std::string& file, ::Damage damage) const;
    // Writes `content` in place of `file`.
    void Replace(const std::string& file, const std::string& content) const;

private:
    std::string path;
};

struct GameRun {
    int status = -1;
    std::string output;                // standard output and standard error
    std::vector<std::string> screens;  // the states of the trace, each run of frames once
    std::string lastTraceLine;
};

// Starts the game on `data` at 64 x 45, fixed step, seed 1, for `frames` frames, with `options`
// added, under a 60 s timeout; `environment` goes before the command (VAR=value ...).
GameRun RunGameOn(const DataCopy& data, int frames, const std::string& options, const std::string& environment = "");
// From start-up through the loading screen and the splash (skipped with Space) to the main menu.
GameRun RunToMainMenu(const DataCopy& data, const std::string& environment = "");
// From start-up straight into the state named `screen` (--start).
GameRun RunInto(const DataCopy& data, const std::string& screen, const std::string& environment = "");
// From start-up through the splash and the main menu, a talk with Dired and her portal, into level 1.
GameRun RunStoryToLevelOne(const DataCopy& data, const std::string& environment = "");

// Every file of the built data directory, relative to it, sorted.
std::vector<std::string> ListDataFiles();

// The screens the trace passed through, with the loading screen counted as there from the start
// (a run whose first frame failed has no trace at all).
std::string DescribeScreens(const std::vector<std::string>& screens);

// Faults tried and survived by this test process; printed as one line at its end.
void CountFault(const std::string& name, bool survived);
