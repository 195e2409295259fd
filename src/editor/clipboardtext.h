#pragma once

#include <string>
#include <string_view>

namespace vesk {

/// The MIME type under which the editor puts a record's exact bytes on the clipboard.
inline constexpr const char* kRecordMimeType = "application/x-vesk-resource-record";

/// A record text made readable as UTF-8 for other programs: each quoted string whose bytes are
/// Shift_JIS is converted to UTF-8 (escapes decoded, converted, escaped again); strings that are
/// UTF-8 already (display texts) and everything outside quotes stay as they are. Reading the
/// result as a file is read gives the same nodes.
std::string RecordTextToUtf8(std::string_view record);

/// Puts a record on the system clipboard: its exact bytes under the editor's own MIME type and
/// its readable UTF-8 form as plain text.
void PutRecordOnClipboard(const std::string& record);

/// The record on the clipboard: the editor's own bytes when they are there, else the plain text
/// as UTF-8 bytes; empty when the clipboard holds no text.
std::string RecordFromClipboard();

} // namespace vesk
