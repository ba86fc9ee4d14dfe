#pragma once

// zantoria-cli itself loads only QtCore, so that folding and the plain
// pictures start at once. What draws with fonts or needs the image plug-ins
// runs in zantoria-cli-draw beside it, which takes over the process with the
// same arguments.

inline constexpr char kDrawProgram[] = "zantoria-cli-draw";

// Replaces the process by zantoria-cli-draw with `argv` (argv[0] is
// replaced); returns only on failure, with the exit status after saying so.
int handOver(char **argv);
