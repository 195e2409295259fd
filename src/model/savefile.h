#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

/// How an operation on a file ended: done, or failed with the system's reason.
struct FileResult {
    bool ok = true;
    std::string reason; ///< the system's words for the failure (strerror); empty after a success

    explicit operator bool() const { return ok; }
    /// A failure for the errno value.
    static FileResult Failed(int error);
};

/// Replaces the file at path with data atomically: the bytes go to a temporary file in the same
/// folder, which is flushed to disk and then renamed over the target (a symbolic link is
/// followed, so the link stays). On any failure the old file is intact, the temporary file
/// removed and the result gives the reason.
FileResult WriteFileAtomically(const std::string& path, std::string_view data);
/// The same, answering only whether it worked, with "path: reason" in errorText (when given).
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* errorText);

/// Reads a whole file; false with the system's reason in errorText (when given).
bool ReadWholeFile(const std::string& path, std::string& contents, std::string* errorText = nullptr);

/// What tells one content of a file from another: its size and a hash of its bytes. The default
/// stamp stands for an unknown content and equals no other.
struct ContentStamp {
    bool known = false;
    uint64_t size = 0;
    uint64_t hash = 0;

    static ContentStamp Of(std::string_view bytes);
    /// The stamp of the file's content; unknown when it cannot be read.
    static ContentStamp OfFile(const std::string& path);
    /// "size:hash" in hexadecimal, empty for an unknown stamp; Parse reads it back.
    std::string Text() const;
    static ContentStamp Parse(std::string_view text);

    bool operator==(const ContentStamp& other) const
    {
        return known && other.known && size == other.size && hash == other.hash;
    }
};

}  // namespace vesk
