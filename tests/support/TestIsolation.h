#pragma once

#include <QString>

// Every test program runs in per-user folders of its own, however it is
// started: by ctest, by hand, under a debugger. Before main() the program
// makes a fresh folder under TMPDIR, points HOME and the XDG base folders
// (config, data, cache, state, runtime) into it and puts QStandardPaths in
// test mode, so neither the code under test nor a program it starts can
// reach the settings, journals or Trash of the person running it. The
// folder is removed when the program ends; nothing else ever is.
//
// Linked into every test through quillmere_test_support.

// The folder HOME and the XDG folders were pointed into.
QString IsolatedHomeRoot();

// Removes a folder a test filled (the journals, the Trash), or a file a test
// put in its place, so that the next case starts without them. Refuses, and
// returns false, for anything not strictly inside IsolatedHomeRoot(); true
// when the entry is gone.
bool RemoveIsolatedFolder(const QString &path);
