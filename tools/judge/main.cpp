// lirra-judge: judges the trace of a demo's run as the playthrough test does, and writes the
// digest a replay of the demo is compared with. scripts/record-demos.sh runs it on every new
// recording before the recording replaces its demo.
//
//   lirra-judge NAME TRACE GAME_OUTPUT [DIGEST]     exit 0: the run tells its story; 1: it does not
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "DemoJudge.h"
#include "TraceDigest.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: lirra-judge NAME TRACE GAME_OUTPUT [DIGEST]\n");
        return 2;
    }
    const DemoCase* demoCase = FindDemoCase(argv[1]);
    if (demoCase == nullptr) {
        std::fprintf(stderr, "lirra-judge: no demo is called %s\n", argv[1]);
        return 2;
    }
    const std::vector<std::string> lines = ReadTraceLines(argv[2]);
    const DemoVerdict verdict = JudgeDemo(*demoCase, ParseTrace(lines), ReadText(argv[3]));
    std::printf("%s\n", verdict.figures.c_str());
    for (const std::string& fault : verdict.faults) {
        std::printf("%s: %s\n", demoCase->name, fault.c_str());
    }
    if (argc == 5 && !WriteDigest(argv[4], DigestTrace(lines))) {
        std::fprintf(stderr, "lirra-judge: %s cannot be written\n", argv[4]);
        return 2;
    }
    return verdict.faults.empty() ? 0 : 1;
}
