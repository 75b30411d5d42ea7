#pragma once

// A seam for tests of interrupted runs: with VELLORIA_FAULT="<point>:<signal number>" in the
// environment, the process sends itself that signal when it reaches the named point and
// goes no further, so a test can kill a run at an exact step instead of by timing luck.
// Without the variable a point costs one getenv.

void faultPoint(const char *point);
