#include "tools/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sp::trace {

FdOutput::FdOutput(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

FdOutput::~FdOutput() { drain(); }

bool FdOutput::write_out(const char* data, std::size_t size)
{
    while (size > 0 && error_ == 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error_ = written < 0 ? errno : EIO;
            break;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return error_ == 0;
}

bool FdOutput::drain()
{
    const bool ok = write_out(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return ok;
}

FdOutput::int_type FdOutput::overflow(int_type c)
{
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int FdOutput::sync() { return drain() ? 0 : -1; }

std::streamsize FdOutput::xsputn(const char* s, std::streamsize n)
{
    const auto room = static_cast<std::streamsize>(epptr() - pptr());
    if (n <= room) {
        std::memcpy(pptr(), s, static_cast<std::size_t>(n));
        pbump(static_cast<int>(n));
        return n;
    }
    // Larger than the buffer: what is buffered goes first, then the text itself.
    if (!drain() || !write_out(s, static_cast<std::size_t>(n)))
        return 0;
    return n;
}

}  // namespace sp::trace
