// Runs a command on the X display of $DISPLAY after switching off every output of its screen, as
// when the only monitor is unplugged: the window system then reports no monitor at all.
// Usage: lirra-screen-off COMMAND [ARGUMENT...]
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The few declarations of the resize-and-rotate extension used here; its library is loaded by
// name, as the window library loads it.
using RRCrtc = XID;
using RRMode = XID;
using RROutput = XID;
using Rotation = unsigned short;
constexpr Rotation kRotateNone = 1;

struct ScreenResources {
    Time timestamp;
    Time configTimestamp;
    int ncrtc;
    RRCrtc* crtcs;
    int noutput;
    RROutput* outputs;
    int nmode;
    void* modes;
};

using GetScreenResources = ScreenResources* (*)(Display*, Window);
using SetCrtcConfig = int (*)(Display*, ScreenResources*, RRCrtc, Time, int, int, RRMode, Rotation, RROutput*, int);
using FreeScreenResources = void (*)(ScreenResources*);

int Fail(const char* what) {
    std::fprintf(stderr, "lirra-screen-off: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lirra-screen-off COMMAND [ARGUMENT...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return Fail("cannot open the display");
    }
    void* randr = dlopen("libXrandr.so.2", RTLD_NOW);
    if (randr == nullptr) {
        return Fail("cannot load libXrandr.so.2");
    }
    const auto getResources = reinterpret_cast<GetScreenResources>(dlsym(randr, "XRRGetScreenResources"));
    const auto setCrtc = reinterpret_cast<SetCrtcConfig>(dlsym(randr, "XRRSetCrtcConfig"));
    const auto freeResources = reinterpret_cast<FreeScreenResources>(dlsym(randr, "XRRFreeScreenResources"));
    if (getResources == nullptr || setCrtc == nullptr || freeResources == nullptr) {
        return Fail("the display library lacks the screen calls");
    }
    ScreenResources* resources = getResources(display, DefaultRootWindow(display));
    if (resources == nullptr || resources->ncrtc == 0) {
        return Fail("the screen has no outputs to switch off");
    }
    for (int i = 0; i < resources->ncrtc; ++i) {
        if (setCrtc(display, resources, resources->crtcs[i], CurrentTime, 0, 0, None, kRotateNone, nullptr, 0) != 0) {
            return Fail("an output could not be switched off");
        }
    }
    freeResources(resources);
    XCloseDisplay(display);
    execvp(argv[1], argv + 1);
    std::perror("lirra-screen-off");
    return 127;
}
