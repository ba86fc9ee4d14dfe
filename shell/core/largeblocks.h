#pragma once

// Programs that hold texts of many megabytes, made and dropped whole, call
// this once at start: blocks of a megabyte and more are then mapped on their
// own and given back to the system the moment they are freed. (The C
// library otherwise raises that threshold after the first large block is
// freed and keeps later ones in its heap, so the memory a program holds
// creeps up by a text's size after each text it has dropped.) Does nothing
// where the C library offers no such setting.
void returnLargeBlocksWhenFreed();
