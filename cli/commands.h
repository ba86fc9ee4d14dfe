#pragma once

// Each sub-command takes its own arguments (argv[0] is the sub-command's
// name) and returns the process exit status.
int runPic2Text(int argc, char **argv);
int runFold(int argc, char **argv);
int runArtText(int argc, char **argv);
