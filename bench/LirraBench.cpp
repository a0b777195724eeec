// lirra-bench: plays every scene of the game under a fixed step and reports what its frames cost.
//
// The parent process starts one child per run (a fresh game each time, as a player would), at a
// 64 x 45 window for logic, draw submission and allocations, and at 1024 x 720 for whole frames.
// Each child writes one line per frame to a result file; the parent prints one line per scene.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "FrameProbe.h"

namespace {

const char* const kSceneOrder[] = {
    "Loading", "Splash", "Main Menu", "Level 1", "Level 2", "Level 3", "Boss", "Boss phase 3", "Level End",
};

constexpr const char* kDefaultStep = "0.0166667";
constexpr const char* kDefaultSeed = "1";
constexpr long kIntroFrames = 900;
constexpr long kSceneFrames = 1200;
constexpr long kBossPhase3Frames = 2400;

// ---------------------------------------------------------------------------------------------
// The child: one measured run.

std::string FlagsOf(const FrameRecord& record) {
    std::string flags;
    flags += record.stateLoaded ? 'S' : '-';
    flags += record.loadingAssets ? 'L' : '-';
    flags += record.poolGrew ? 'P' : '-';
    flags += record.cinematicQueued ? 'C' : '-';
    flags += record.dialogueStarted ? 'D' : '-';
    flags += record.spawned ? 'H' : '-';
    return flags;
}

bool WriteProbeResult(const std::string& path, const ProbeResult& result) {
    std::ofstream out(path);
    if (!out) {
        return false;
    }
    out << "startup " << result.startupNs << '\n';
    out << "open " << result.openNs << '\n';
    out << "startup-cpu " << result.startupCpuNs << '\n';
    out << "post " << result.blurNs << ' ' << result.compositeNs << ' ' << result.blurCpuNs << ' '
        << result.compositeCpuNs << '\n';
    for (const PassFrame& passes : result.passFrames) {
        for (int k = 0; k < passes.count; ++k) {
            out << "pass\t" << passes.frame << '\t' << passes.passes[k].name << '\t' << passes.passes[k].cpuNs << '\t'
                << passes.passes[k].draws << '\n';
        }
    }
    for (const FrameRecord& record : result.frames) {
        out << record.frame << '\t' << record.scene << '\t' << record.logicNs << '\t' << record.drawNs << '\t'
            << record.frameNs << '\t' << record.frameCpuNs << '\t' << record.allocations << '\t'
            << record.driverAllocations << '\t' << FlagsOf(record) << '\n';
    }
    return static_cast<bool>(out);
}

int RunChild(int argc, char** argv) {
    ProbeSettings settings;
    std::string resultPath;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const std::string arg = argv[i];
        if (arg == "--probe" && i + 1 < argc) {
            resultPath = argv[++i];
        } else if (arg == "--spawn-ns" && i + 1 < argc) {
            settings.spawnNs = std::atoll(argv[++i]);
        } else if (arg == "--boss-phase3") {
            settings.forceBossPhase3 = true;
        } else if (arg == "--trace-allocs") {
            settings.traceSteadyAllocations = true;
        } else if (arg == "--pass-frames" && i + 1 < argc) {
            settings.passFrames = std::atol(argv[++i]);
        } else if (arg == "--post-rounds" && i + 1 < argc) {
            settings.postPassRounds = std::atoi(argv[++i]);
        } else if (arg == "--stop-scene" && i + 2 < argc) {
            settings.stopScene = argv[++i];
            settings.stopSceneFrames = std::atol(argv[++i]);
        }
    }
    // The game's own command line follows "--"; argv[i] stands in for the program name.
    std::vector<char*> gameArgs;
    gameArgs.push_back(argv[0]);
    for (int k = i + 1; k < argc; ++k) {
        gameArgs.push_back(argv[k]);
    }
    ProbeResult result;
    if (!RunProbe(static_cast<int>(gameArgs.size()), gameArgs.data(), settings, &result)) {
        return 2;
    }
    return WriteProbeResult(resultPath, result) ? 0 : 3;
}

// ---------------------------------------------------------------------------------------------
// The parent: runs, their results and the report.

struct Run {
    std::string label;
    std::vector<std::string> gameArgs;
    std::vector<std::string> owns;  // the scenes this run reports
    bool bossPhase3 = false;
    std::string stopScene;
    long stopSceneFrames = 0;
};

struct RunResult {
    std::vector<FrameRecord> frames;
    double startupMs = -1.0;
    double openMs = -1.0;
    double startupCpuMs = -1.0;
    double blurMs = 0.0;
    double compositeMs = 0.0;
    double blurCpuMs = 0.0;
    double compositeCpuMs = 0.0;
    // Per pass, its CPU time in each frame measured pass by pass (ms), in the order first met.
    std::vector<std::pair<std::string, std::vector<double>>> passes;
    long passFrames = 0;
    std::map<std::string, std::vector<double>> passDraws;
    bool ok = false;
};

struct BenchOptions {
    std::string demoDir = LIRRA_SOURCE_DIR "/demos";
    std::string dataDir;
    std::string logDir = "/tmp";
    long fullFrames = 120;
    long passFrames = 30;
    bool skipFull = false;
    bool skipLarge = false;  // the 1920 x 1080 runs (the game's full screen on a common monitor)
    bool skipSmall = false;
    bool reuse = false;
    bool traceAllocs = false;
    std::string only;
};

bool FileExists(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

// The words of a shell-like line: spaces separate, double quotes group.
std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

// The options of a demo file's first line ("# lirra --size ... --start ..."), without the size,
// which each pass chooses for itself.
std::vector<std::string> DemoOptions(const std::string& path) {
    std::ifstream file(path);
    std::string first;
    std::getline(file, first);
    std::vector<std::string> words = SplitWords(first);
    std::vector<std::string> options;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "#" || words[i] == "lirra") {
            continue;
        }
        if (words[i] == "--size" || words[i] == "--input" || words[i] == "--trace" || words[i] == "--record") {
            ++i;
            continue;
        }
        options.push_back(words[i]);
    }
    return options;
}

std::vector<std::string> DefaultOptions() {
    return {"--fixed-step", kDefaultStep, "--seed", kDefaultSeed};
}

// Lirra runs right, strikes now and then and jumps: enough to move the camera, the enemies and
// the particles of any scene.
std::string WriteWalkingInput(const std::string& logDir, const std::string& label, long frames, bool strike) {
    const std::string path = logDir + "/lirra-bench-input-" + label + ".rec";
    std::ofstream out(path);
    out << "# built-in bench input\n";
    for (long f = 60; f < frames; f += 240) {
        const bool right = ((f - 60) / 240) % 4 != 3;
        const char* key = right ? "RIGHT" : "LEFT";
        out << f << " key " << key << " press\n" << f + 230 << " key " << key << " release\n";
    }
    for (long f = 100; f < frames; f += 120) {
        out << f << " key SPACE press\n" << f + 20 << " key SPACE release\n";
    }
    if (strike) {
        for (long f = 80; f < frames; f += 45) {
            out << f << " key Q press\n" << f + 4 << " key Q release\n";
        }
    }
    return path;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Run SceneRun(const BenchOptions& bench, const std::string& scene, const std::string& demoName) {
    Run run;
    run.label = scene;
    run.owns = {scene};
    const std::string demo = bench.demoDir + "/" + demoName;
    if (FileExists(demo)) {
        run.gameArgs = Concat(DemoOptions(demo), {"--input", demo});
        return run;
    }
    run.gameArgs = Concat(DefaultOptions(), {"--start", scene, "--frames", std::to_string(kSceneFrames)});
    run.gameArgs = Concat(run.gameArgs, {"--input", WriteWalkingInput(bench.logDir, "scene", kSceneFrames, true)});
    return run;
}

Run IntroRun(const BenchOptions& bench) {
    Run run;
    run.label = "intro";
    run.owns = {"Loading", "Splash", "Main Menu"};
    const std::string demo = bench.demoDir + "/full-game.rec";
    if (FileExists(demo)) {
        run.gameArgs = Concat(DemoOptions(demo), {"--input", demo, "--frames", std::to_string(kIntroFrames)});
        return run;
    }
    run.gameArgs = Concat(DefaultOptions(), {"--frames", std::to_string(kIntroFrames), "--input",
                                             WriteWalkingInput(bench.logDir, "intro", kIntroFrames, false)});
    return run;
}

Run BossPhase3Run(const BenchOptions& bench) {
    Run run;
    run.label = "boss-phase3";
    run.owns = {"Boss phase 3"};
    run.bossPhase3 = true;
    const std::string demo = bench.demoDir + "/boss.rec";
    std::vector<std::string> options = FileExists(demo) ? DemoOptions(demo) : DefaultOptions();
    // The fight is carried to its third phase by the bench; Lirra only moves about in it.
    std::vector<std::string> kept;
    for (size_t i = 0; i < options.size(); ++i) {
        if (options[i] == "--start" || options[i] == "--frames") {
            ++i;
            continue;
        }
        kept.push_back(options[i]);
    }
    const long frames = kBossPhase3Frames + 600;
    run.gameArgs = Concat(kept, {"--start", "Boss", "--frames", std::to_string(frames), "--input",
                                 WriteWalkingInput(bench.logDir, "boss", frames, false)});
    run.stopScene = "Boss phase 3";
    run.stopSceneFrames = kBossPhase3Frames;
    return run;
}

// Logic, draw submission and allocations: the whole playthrough when it is recorded, else a
// run per scene.
std::vector<Run> LogicRuns(const BenchOptions& bench) {
    std::vector<Run> runs;
    const std::string full = bench.demoDir + "/full-game.rec";
    if (FileExists(full)) {
        Run run;
        run.label = "full-game";
        run.owns = {"Loading", "Splash", "Main Menu", "Level 1", "Level 2", "Level 3", "Boss", "Level End"};
        run.gameArgs = Concat(DemoOptions(full), {"--input", full});
        runs.push_back(run);
    } else {
        runs.push_back(IntroRun(bench));
        runs.push_back(SceneRun(bench, "Level 1", "level1.rec"));
        runs.push_back(SceneRun(bench, "Level 2", "level2.rec"));
        runs.push_back(SceneRun(bench, "Level 3", "level3.rec"));
        runs.push_back(SceneRun(bench, "Boss", "boss.rec"));
        runs.push_back(SceneRun(bench, "Level End", "none"));
    }
    runs.push_back(BossPhase3Run(bench));
    return runs;
}

// Whole frames at the game's own size: a short stretch of every scene.
std::vector<Run> FullFrameRuns(const BenchOptions& bench) {
    std::vector<Run> runs;
    Run intro = IntroRun(bench);
    intro.stopScene = "Main Menu";
    intro.stopSceneFrames = bench.fullFrames;
    runs.push_back(intro);
    const char* const levels[][2] = {
        {"Level 1", "level1.rec"}, {"Level 2", "level2.rec"}, {"Level 3", "level3.rec"},
        {"Boss", "boss.rec"},      {"Level End", "none"},
    };
    for (const auto& level : levels) {
        Run run = SceneRun(bench, level[0], level[1]);
        run.stopScene = level[0];
        run.stopSceneFrames = bench.fullFrames;
        runs.push_back(run);
    }
    Run phase3 = BossPhase3Run(bench);
    phase3.stopSceneFrames = bench.fullFrames;
    runs.push_back(phase3);
    return runs;
}

bool ParseFlags(const std::string& flags, FrameRecord* record) {
    if (flags.size() != 6) {
        return false;
    }
    record->stateLoaded = flags[0] == 'S';
    record->loadingAssets = flags[1] == 'L';
    record->poolGrew = flags[2] == 'P';
    record->cinematicQueued = flags[3] == 'C';
    record->dialogueStarted = flags[4] == 'D';
    record->spawned = flags[5] == 'H';
    return true;
}

// Passes a frame did not reach count 0 in it.
void AddPassTime(const std::string& frame, const std::string& pass, double ms, int draws, RunResult* result) {
    static std::string lastFrame;
    if (frame != lastFrame || result->passFrames == 0) {
        lastFrame = frame;
        ++result->passFrames;
        for (auto& known : result->passes) {
            known.second.push_back(0.0);
        }
    }
    for (auto& known : result->passes) {
        if (known.first == pass) {
            known.second.back() += ms;
            result->passDraws[pass].push_back(draws);
            return;
        }
    }
    result->passes.emplace_back(pass, std::vector<double>(static_cast<size_t>(result->passFrames), 0.0));
    result->passes.back().second.back() = ms;
    result->passDraws[pass].push_back(draws);
}

RunResult ReadRunResult(const std::string& path) {
    RunResult result;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("startup ", 0) == 0) {
            result.startupMs = std::atoll(line.c_str() + 8) / 1e6;
            continue;
        }
        if (line.rfind("post ", 0) == 0) {
            std::stringstream post(line.substr(5));
            int64_t blur = 0;
            int64_t composite = 0;
            int64_t blurCpu = 0;
            int64_t compositeCpu = 0;
            post >> blur >> composite >> blurCpu >> compositeCpu;
            result.blurMs = blur / 1e6;
            result.compositeMs = composite / 1e6;
            result.blurCpuMs = blurCpu / 1e6;
            result.compositeCpuMs = compositeCpu / 1e6;
            continue;
        }
        if (line.rfind("startup-cpu ", 0) == 0) {
            result.startupCpuMs = std::atoll(line.c_str() + 12) / 1e6;
            continue;
        }
        if (line.rfind("open ", 0) == 0) {
            result.openMs = std::atoll(line.c_str() + 5) / 1e6;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '\t')) {
            fields.push_back(field);
        }
        if (fields.size() == 5 && fields[0] == "pass") {
            AddPassTime(fields[1], fields[2], std::atoll(fields[3].c_str()) / 1e6, std::atoi(fields[4].c_str()),
                        &result);
            continue;
        }
        FrameRecord record;
        if (fields.size() != 9 || !ParseFlags(fields[8], &record)) {
            continue;
        }
        record.frame = std::atol(fields[0].c_str());
        record.scene = fields[1];
        record.logicNs = std::atoll(fields[2].c_str());
        record.drawNs = std::atoll(fields[3].c_str());
        record.frameNs = std::atoll(fields[4].c_str());
        record.frameCpuNs = std::atoll(fields[5].c_str());
        record.allocations = std::strtoull(fields[6].c_str(), nullptr, 10);
        record.driverAllocations = std::strtoull(fields[7].c_str(), nullptr, 10);
        result.frames.push_back(record);
    }
    result.ok = !result.frames.empty();
    return result;
}

enum class RunSize { Small, Full, Large };

std::string SizeArg(RunSize size) {
    switch (size) {
    case RunSize::Full:
        return "1024x720";
    case RunSize::Large:
        return "1920x1080";
    default:
        return "64x45";
    }
}

const char* SizeTag(RunSize size) {
    switch (size) {
    case RunSize::Full:
        return "full";
    case RunSize::Large:
        return "large";
    default:
        return "small";
    }
}

RunResult Spawn(const BenchOptions& bench, const Run& run, RunSize size) {
    const bool full = size != RunSize::Small;
    const std::string tag = run.label + "-" + SizeTag(size);
    const std::string resultPath = bench.logDir + "/lirra-bench-" + tag + ".tsv";
    const std::string logPath = bench.logDir + "/lirra-bench-" + tag + ".log";
    if (bench.reuse) {
        RunResult reused = ReadRunResult(resultPath);
        if (!reused.ok) {
            std::printf("# run %s %s: no figures in %s\n", run.label.c_str(), SizeTag(size), resultPath.c_str());
        }
        return reused;
    }
    std::remove(resultPath.c_str());

    std::vector<std::string> args = {"lirra-bench", "--probe", resultPath, "--spawn-ns", "0"};
    if (run.bossPhase3) {
        args.push_back("--boss-phase3");
    }
    if (full) {
        args = Concat(args, {"--post-rounds", "5"});
    }
    if (size == RunSize::Full && bench.passFrames > 0) {
        args = Concat(args, {"--pass-frames", std::to_string(bench.passFrames)});
    }
    if (bench.traceAllocs && !full) {
        args.push_back("--trace-allocs");
    }
    if (!run.stopScene.empty()) {
        args = Concat(args, {"--stop-scene", run.stopScene, std::to_string(run.stopSceneFrames)});
    }
    args.push_back("--");
    if (!bench.dataDir.empty()) {
        args = Concat(args, {"--data", bench.dataDir});
    }
    args = Concat(args, {"--size", SizeArg(size)});
    if (!full) {
        // The trace is part of a frame's work: it must not allocate either.
        args = Concat(args, {"--trace", "/dev/null"});
    }
    args = Concat(args, run.gameArgs);

    std::printf("# run %-12s %-5s:", run.label.c_str(), SizeTag(size));
    for (size_t i = args.size() - run.gameArgs.size(); i < args.size(); ++i) {
        std::printf(" %s", args[i].c_str());
    }
    std::printf("\n");
    std::fflush(stdout);

    const int64_t spawnNs = MonotonicNs();
    args[4] = std::to_string(spawnNs);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    RunResult result = ReadRunResult(resultPath);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !result.ok) {
        std::printf("# run %s failed (status %d), see %s\n", run.label.c_str(), status, logPath.c_str());
        result.ok = false;
    }
    return result;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : 0.5 * (values[mid - 1] + values[mid]);
}

struct SceneFigures {
    long frames = 0;
    double logicMs = 0.0;
    double drawMs = 0.0;
    double drawMaxMs = 0.0;
    double frameMs = -1.0;
    double frameCpuMs = -1.0;
    double largeFrameCpuMs = -1.0;
    double smallFrameMs = 0.0;
    uint64_t steadyMaxAllocations = 0;
    long allocatingFrames = 0;
    long steadyAllocatingFrames = 0;
    long byState = 0, byLoading = 0, byPool = 0, byCinematic = 0, byDialogue = 0;
    long spawnFrames = 0;
    long spawnAllocatingFrames = 0;
    uint64_t strictMaxAllocations = 0;  // hand-out frames counted as steady
    uint64_t driverAllocations = 0;
    long driverAllocatingFrames = 0;
    std::vector<std::pair<std::string, std::vector<double>>> passes;
    long passFrames = 0;
    std::map<std::string, std::vector<double>> passDraws;
};

std::vector<const FrameRecord*> FramesOf(const RunResult& result, const std::string& scene) {
    std::vector<const FrameRecord*> frames;
    for (const FrameRecord& record : result.frames) {
        if (record.scene == scene) {
            frames.push_back(&record);
        }
    }
    return frames;
}

void AddSmallFigures(const std::vector<const FrameRecord*>& frames, SceneFigures* figures) {
    std::vector<double> logic, draw, whole;
    for (const FrameRecord* record : frames) {
        logic.push_back(record->logicNs / 1e6);
        draw.push_back(record->drawNs / 1e6);
        whole.push_back(record->frameNs / 1e6);
        figures->drawMaxMs = std::max(figures->drawMaxMs, record->drawNs / 1e6);
        if (record->allocations > 0) {
            ++figures->allocatingFrames;
        }
        figures->byState += record->stateLoaded;
        figures->byLoading += record->loadingAssets;
        figures->byPool += record->poolGrew;
        figures->byCinematic += record->cinematicQueued;
        figures->byDialogue += record->dialogueStarted;
        figures->spawnFrames += record->spawned;
        if (!record->AllocatesWithoutHandOut()) {
            figures->strictMaxAllocations = std::max(figures->strictMaxAllocations, record->allocations);
            figures->spawnAllocatingFrames += record->spawned && record->allocations > 0;
        }
        figures->driverAllocations += record->driverAllocations;
        figures->driverAllocatingFrames += record->driverAllocations > 0;
        if (!record->AllocatesByDesign()) {
            figures->steadyMaxAllocations = std::max(figures->steadyMaxAllocations, record->allocations);
            figures->steadyAllocatingFrames += record->allocations > 0;
        }
    }
    figures->frames = static_cast<long>(frames.size());
    figures->logicMs = Median(logic);
    figures->drawMs = Median(draw);
    figures->smallFrameMs = Median(whole);
}

void AddFullFigures(const std::vector<const FrameRecord*>& frames, RunSize size, SceneFigures* figures) {
    std::vector<double> whole;
    std::vector<double> cpu;
    for (const FrameRecord* record : frames) {
        whole.push_back(record->frameNs / 1e6);
        cpu.push_back(record->frameCpuNs / 1e6);
    }
    if (size == RunSize::Large) {
        figures->largeFrameCpuMs = cpu.empty() ? -1.0 : Median(cpu);
        return;
    }
    if (!whole.empty()) {
        figures->frameMs = Median(whole);
        figures->frameCpuMs = Median(cpu);
    }
}

void PrintReport(const std::map<std::string, SceneFigures>& scenes, const std::vector<double>& startups,
                 const std::vector<double>& opens, const std::vector<double>& startupCpus) {
    std::printf("\n");
    for (const char* name : kSceneOrder) {
        const auto found = scenes.find(name);
        if (found == scenes.end()) {
            continue;
        }
        const SceneFigures& f = found->second;
        std::printf(
            "scene=%s frames=%ld logic_ms=%.4f draw_ms=%.3f frame_ms=%.2f allocs_per_frame=%llu "
            "alloc_frames=%ld frame_cpu_1024x720_ms=%.1f frame_cpu_1920x1080_ms=%.1f\n",
            name, f.frames, f.logicMs, f.drawMs, f.frameMs, static_cast<unsigned long long>(f.steadyMaxAllocations),
            f.allocatingFrames, f.frameCpuMs, f.largeFrameCpuMs);
    }
    std::vector<double> sorted = startups;
    std::sort(sorted.begin(), sorted.end());
    std::printf(
        "startup_ms=%.1f startup_cpu_ms=%.1f (median of %zu starts, max %.1f; window and first state "
        "ready at %.1f)\n",
        Median(startups), Median(startupCpus), startups.size(), sorted.empty() ? 0.0 : sorted.back(), Median(opens));
    std::printf(
        "\n# per scene: frames with a by-design reason to allocate (state request or load, loading "
        "screen, pool growth, cinematic, dialogue, a hand-out that builds an enemy, soul or emitter), "
        "steady frames that allocated, hand-out frames that allocated and their worst count, the GL "
        "driver's own allocations, worst draw, 64x45 frame median, 1024x720 frame CPU median\n");
    for (const char* name : kSceneOrder) {
        const auto found = scenes.find(name);
        if (found == scenes.end()) {
            continue;
        }
        const SceneFigures& f = found->second;
        std::printf(
            "# %-12s state=%ld loading=%ld pool=%ld cinematic=%ld dialogue=%ld handout=%ld "
            "steady_alloc_frames=%ld handout_alloc_frames=%ld (max %llu) driver_allocs=%llu in %ld frames "
            "draw_max_ms=%.3f "
            "small_frame_ms=%.3f full_frame_cpu_ms=%.1f\n",
            name, f.byState, f.byLoading, f.byPool, f.byCinematic, f.byDialogue, f.spawnFrames,
            f.steadyAllocatingFrames, f.spawnAllocatingFrames, static_cast<unsigned long long>(f.strictMaxAllocations),
            static_cast<unsigned long long>(f.driverAllocations), f.driverAllocatingFrames, f.drawMaxMs, f.smallFrameMs,
            f.frameCpuMs);
    }
}

void PrintPasses(const std::map<std::string, SceneFigures>& scenes) {
    std::printf(
        "# passes at 1024x720: process CPU ms per frame and (GL draws and clears), each pass waited for "
        "with glFinish (median over the frames timed pass by pass; the waits add a little to the sum)\n");
    for (const char* name : kSceneOrder) {
        const auto found = scenes.find(name);
        if (found == scenes.end() || found->second.passFrames == 0) {
            continue;
        }
        const SceneFigures& f = found->second;
        std::printf("# %-12s", name);
        double sum = 0.0;
        for (const auto& pass : f.passes) {
            const double ms = Median(pass.second);
            sum += ms;
            const auto draws = f.passDraws.find(pass.first);
            std::printf(" %s=%.2f(%.0f)", pass.first.c_str(), ms,
                        draws == f.passDraws.end() ? 0.0 : Median(draws->second));
        }
        std::printf(" | sum=%.1f frame_cpu_unprobed=%.1f (%ld frames)\n", sum, f.frameCpuMs, f.passFrames);
    }
}

bool Selected(const BenchOptions& bench, const Run& run) {
    return bench.only.empty() || run.label == bench.only;
}

int RunBench(const BenchOptions& bench) {
    if (std::system(("mkdir -p '" + bench.logDir + "'").c_str()) != 0) {
        std::printf("lirra-bench: cannot make the log directory '%s'\n", bench.logDir.c_str());
        return 2;
    }
    std::map<std::string, SceneFigures> scenes;
    std::vector<double> startups;
    std::vector<double> opens;
    std::vector<double> startupCpus;
    std::vector<double> blurs;
    std::vector<double> composites;
    std::vector<double> blurCpus;
    std::vector<double> compositeCpus;
    for (const Run& run : LogicRuns(bench)) {
        if (!Selected(bench, run) || bench.skipSmall) {
            continue;
        }
        const RunResult result = Spawn(bench, run, RunSize::Small);
        if (result.startupMs >= 0.0) {
            startups.push_back(result.startupMs);
            opens.push_back(result.openMs);
            startupCpus.push_back(result.startupCpuMs);
        }
        for (const std::string& scene : run.owns) {
            const auto frames = FramesOf(result, scene);
            if (!frames.empty()) {
                AddSmallFigures(frames, &scenes[scene]);
            }
        }
    }
    for (const RunSize size : {RunSize::Full, RunSize::Large}) {
        if (bench.skipFull || (size == RunSize::Large && bench.skipLarge)) {
            continue;
        }
        for (const Run& run : FullFrameRuns(bench)) {
            if (!Selected(bench, run)) {
                continue;
            }
            const RunResult result = Spawn(bench, run, size);
            if (result.startupMs >= 0.0) {
                startups.push_back(result.startupMs);
                opens.push_back(result.openMs);
                startupCpus.push_back(result.startupCpuMs);
            }
            if (result.ok && result.blurMs > 0.0 && size == RunSize::Full) {
                blurs.push_back(result.blurMs);
                composites.push_back(result.compositeMs);
                blurCpus.push_back(result.blurCpuMs);
                compositeCpus.push_back(result.compositeCpuMs);
            }
            for (const std::string& scene : run.owns) {
                const auto frames = FramesOf(result, scene);
                if (!frames.empty()) {
                    AddFullFigures(frames, size, &scenes[scene]);
                }
            }
            if (size == RunSize::Full && result.passFrames > 0) {
                scenes[run.stopScene].passes = result.passes;
                scenes[run.stopScene].passFrames = result.passFrames;
                scenes[run.stopScene].passDraws = result.passDraws;
            }
        }
    }
    PrintReport(scenes, startups, opens, startupCpus);
    PrintPasses(scenes);
    if (!blurs.empty()) {
        std::printf(
            "# post-processing at 1024x720 (median over %zu runs, each the median of 5 rounds waited for "
            "with glFinish): blur of 10 passes %.1f ms (CPU %.1f ms), composite %.1f ms (CPU %.1f ms)\n",
            blurs.size(), Median(blurs), Median(blurCpus), Median(composites), Median(compositeCpus));
    }
    return 0;
}

void PrintUsage() {
    std::printf(
        "usage: lirra-bench [options]\n"
        "  --demos DIR        recorded playthrough inputs (default: the repository's demos/)\n"
        "  --data DIR         game data (default: the game's built-in data directory)\n"
        "  --logs DIR         where each run's output and per-frame figures go (default /tmp)\n"
        "  --full-frames N    frames of each scene measured at 1024 x 720 (default 120)\n"
        "  --pass-frames N    then N more frames at 1024 x 720 timed pass by pass (default 30, 0: none)\n"
        "  --no-full          skip the 1024 x 720 and 1920 x 1080 runs\n"
        "  --no-large         skip the 1920 x 1080 runs (they need a screen at least that large)\n"
        "  --no-small         skip the 64 x 45 runs\n"
        "  --reuse            report the per-frame figures a previous run left in the log directory\n"
        "  --only RUN         only the run of that label (intro, Level 1, ..., boss-phase3, full-game)\n"
        "  --trace-allocs     print the call stacks of allocations in steady frames to the run logs\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--probe") == 0) {
        return RunChild(argc, argv);
    }
    BenchOptions bench;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--demos" && hasValue) {
            bench.demoDir = argv[++i];
        } else if (arg == "--data" && hasValue) {
            bench.dataDir = argv[++i];
        } else if (arg == "--logs" && hasValue) {
            bench.logDir = argv[++i];
        } else if (arg == "--pass-frames" && hasValue) {
            bench.passFrames = std::atol(argv[++i]);
        } else if (arg == "--full-frames" && hasValue) {
            bench.fullFrames = std::atol(argv[++i]);
        } else if (arg == "--no-full") {
            bench.skipFull = true;
        } else if (arg == "--no-large") {
            bench.skipLarge = true;
        } else if (arg == "--no-small") {
            bench.skipSmall = true;
        } else if (arg == "--reuse") {
            bench.reuse = true;
        } else if (arg == "--only" && hasValue) {
            bench.only = argv[++i];
        } else if (arg == "--trace-allocs") {
            bench.traceAllocs = true;
        } else {
            PrintUsage();
            return arg == "--help" ? 0 : 2;
        }
    }
    return RunBench(bench);
}
