#pragma once

// What the editor does at start before its window: the folders it works with, made ready,
// and the desktop told which program opens projects. Shared by the program and its
// start-up benchmark, so that the benchmark measures the real start.

#include "platform/AppFolders.h"

// The folders of the running program, with the writable one made ready.
AppFolders prepareEditorStart();
