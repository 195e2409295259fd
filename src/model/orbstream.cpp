#include "model/orbstream.h"

namespace vesk {

COrbStream::~COrbStream()
{
    if (m_file)
        std::fclose(m_file);
}

void COrbStream::Write(const char* data, size_t length)
{
    if (!m_file) {
        m_failed = true;
        return;
    }
    if (length && std::fwrite(data, 1, length, m_file) != length)
        m_failed = true;
}

void COrbStream::WriteTabs(int count)
{
    for (int i = 0; i < count; ++i)
        Write("\t", 1);
}

bool COrbStream::Close()
{
    if (!m_file)
        return !m_failed;
    if (std::fflush(m_file) != 0)
        m_failed = true;
    if (std::fclose(m_file) != 0)
        m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

}  // namespace vesk
