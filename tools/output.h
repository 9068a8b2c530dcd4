#pragma once
// Standard output as the tool writes it: buffered, with every write checked, and the reason
// of a failure kept for the message (a full disk, /dev/full, a closed pipe).

#include <array>
#include <streambuf>

namespace sp::trace {

class FdOutput : public std::streambuf {
public:
    explicit FdOutput(int fd);
    ~FdOutput() override;
    FdOutput(const FdOutput&) = delete;
    FdOutput& operator=(const FdOutput&) = delete;

    // The errno of the first failed write, 0 while all went out.
    int error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    bool write_out(const char* data, std::size_t size);
    bool drain();

    int fd_;
    int error_ = 0;
    std::array<char, 1 << 16> buffer_{};
};

}  // namespace sp::trace
