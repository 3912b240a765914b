#pragma once
// What the per-platform files of text/platform share.

namespace text {

// Whether NoteEscapePressed was called since the last ResetEscapePressed.
bool EscapeNoted();

}  // namespace text
