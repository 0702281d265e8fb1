#pragma once

// How long a test waits for something the program under test is sure to do. A wait returns as
// soon as its condition holds, so this bound only ends a test that would otherwise hang: it is no
// measure of speed, and long enough that a machine busy with other work never runs it out.
constexpr int kPatienceMs = 90000;
