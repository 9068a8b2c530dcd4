#pragma once
// The CSV the companion tool prints and the window saves: one writer, so a run or a resonance
// curve saved from the window is byte for byte what the tool prints for the same parameters.
// Numbers are formatted with to_chars into one buffer: locale-independent, exact to 17
// significant digits, and fast enough that a million-step run is bound by the integration.

#include <array>
#include <charconv>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "analysis/sweep.h"
#include "model/oscillator.h"

namespace sp::trace {

class CsvWriter {
public:
    explicit CsvWriter(std::ostream& out) : out_(out) { buffer_.reserve(kFlushAt + 512); }
    ~CsvWriter() { flush(); }
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void text(std::string_view t) { buffer_ += t; }

    void integer(std::int64_t v)
    {
        std::array<char, 24> b;
        const auto r = std::to_chars(b.data(), b.data() + b.size(), v);
        buffer_.append(b.data(), r.ptr);
    }
    void number(double v)
    {
        std::array<char, 32> b;
        const auto r =
            std::to_chars(b.data(), b.data() + b.size(), v, std::chars_format::general, 17);
        buffer_.append(b.data(), r.ptr);
    }
    void cell(double v)
    {
        buffer_ += ',';
        number(v);
    }
    void end_row()
    {
        buffer_ += '\n';
        if (buffer_.size() >= kFlushAt)
            flush();
    }

    void flush()
    {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    std::ostream& out_;
    std::string buffer_;
};

// A run: the header, then one row per state, the start being step 0.
inline constexpr std::string_view kRunHeader = "step,t,x,y,vx,vy,xs\n";
void run_row(CsvWriter& csv, std::int64_t step, const RunState& s);

// A resonance curve: the header and one row per beta, in the order given.
inline constexpr std::string_view kSweepHeader = "beta,steps,Ax,Ay,Ax_linear\n";
void sweep_row(CsvWriter& csv, const SweepRow& r);

// The first `steps` steps of the run with p (fewer when the run ends earlier), as the tool
// prints them with every step shown.
void write_run(std::ostream& out, const Parameters& p, std::int64_t steps);

}  // namespace sp::trace
