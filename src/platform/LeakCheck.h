#pragma once

// In a sanitized build, keeps the GL driver mapped until the process ends. The driver keeps
// some memory for the life of the process and is unloaded before the leak check runs, which
// then cannot name it; mapped, it is named and matched by the build's leak suppressions.
// Does nothing in other builds.
void KeepGlDriverMapped();
