#pragma once

// How far a freshly started MPlayer is: nothing heard yet, initialising, idle and ready.
enum class PrepState : int { NotStarted = 0, Preparing = 1, Ready = 2 };
