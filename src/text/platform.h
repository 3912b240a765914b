#pragma once
// Operating-system services the helpers need, one implementation per platform.

#include <cstdint>
#include <string>
#include <string_view>

class QProcess;

namespace text {

// Whether an Esc press was reported (NoteEscapePressed) since the last
// ResetEscapePressed; on Windows also the asynchronous Esc key state.
bool IsEscapePressed();
void NoteEscapePressed();
void ResetEscapePressed();

// The network share a drive name such as "Z:" maps to; the input when none.
std::string GetNetworkConnection(std::string_view localName);

// Local-time conversions read the zone file once instead of checking it on every
// call (glibc does that while TZ is unset); charts convert thousands of dates.
void PinLocalTimeZone();

// Keeps a helper process to `bytes` of memory, so that a runaway parser ends
// there instead of taking the machine's memory, and (where the system can)
// ends it with this process. Call before the process is started.
void LimitHelperProcess(QProcess& process, std::uint64_t bytes);

// The Qt platform for a process that draws but shows nothing: "offscreen" where
// the default would connect to a display; none (the default) on Windows, whose
// own platform needs no display and alone has the system's fonts.
const char* WindowlessQtPlatform();

// Standard output carries bytes as they are (a picture for the program that
// started this one); Windows would otherwise turn each LF into CR LF.
void UseBinaryStandardOutput();

// Whether an empty server field can mean this PC's own engine; on Windows every
// database is reached through a Firebird server.
bool HasEmbeddedDatabaseEngine();

// Why Firebird's client library cannot be used, as UTF-8 text from the system;
// empty when it can. Call before anything touches the database.
std::string DatabaseClientLoadError();

}  // namespace text
