#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vesk {

/// Byte sink of the resource writers. The base writes to a file it owns; a failed write is
/// remembered and reported by Failed().
class COrbStream {
public:
    COrbStream() = default;
    /// Takes ownership of an open file (closed on destruction); nullptr makes every write fail.
    explicit COrbStream(std::FILE* file) : m_file(file) {}
    virtual ~COrbStream();
    COrbStream(const COrbStream&) = delete;
    COrbStream& operator=(const COrbStream&) = delete;

    virtual void Write(const char* data, size_t length);
    void Write(std::string_view text) { Write(text.data(), text.size()); }
    /// Writes count TAB bytes.
    void WriteTabs(int count);

    /// Flushes and closes the file; false when any write, the flush or the close failed.
    bool Close();
    bool Failed() const { return m_failed; }

protected:
    std::FILE* m_file = nullptr;
    bool m_failed = false;
};

/// A stream that collects the written text in memory.
class CJsonString : public COrbStream {
public:
    void Write(const char* data, size_t length) override { m_text.append(data, length); }
    using COrbStream::Write;

    const std::string& Text() const { return m_text; }
    std::string TakeText() { return std::move(m_text); }

private:
    std::string m_text;
};

}  // namespace vesk
