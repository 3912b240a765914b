#pragma once
// Esc during a long loop on the user-interface thread. The loop asks often;
// every few tens of milliseconds the asking lets the queued events through,
// so the windows repaint and an Esc press is seen, while every other key,
// click and close is dropped: nothing may start an action inside the loop.
// Only a modal box the loop itself put up (a progress box with 中止) still
// takes its clicks.

namespace widgets {

class EscapeWatch {
public:
    // A new loop begins: earlier presses no longer count.
    static void Reset();
    // Whether Esc was pressed since Reset.
    static bool Pressed();
};

}  // namespace widgets
