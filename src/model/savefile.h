#pragma once

#include <string>
#include <string_view>

namespace vesk {

/// Replaces the file at path with data atomically: the bytes go to a temporary file in the same
/// folder, which is flushed to disk and then renamed over the target (a symbolic link is
/// followed, so the link stays). False on any failure, with the old file intact, the temporary
/// file removed and the system's reason in errorText (when given).
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* errorText = nullptr);

/// Reads a whole file; false with the system's reason in errorText (when given).
bool ReadWholeFile(const std::string& path, std::string& contents, std::string* errorText = nullptr);

}  // namespace vesk
