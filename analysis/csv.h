#pragma once
// The CSV of traces and sweeps: numbers written with to_chars into one buffer, so the text
// does not depend on the locale, every double is exact to 17 significant digits, and a
// million-row trace is bound by the integration rather than the writing.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/sweep.h"
#include "model/oscillator.h"

namespace sp::analysis {

// A double with 17 significant digits, the shortest form %g would give them.
std::string number17(double v);

class CsvWriter {
public:
    explicit CsvWriter(std::ostream& out);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void text(std::string_view t) { buffer_ += t; }
    void integer(std::int64_t v);
    void number(double v);
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
    void flush();

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    std::ostream& out_;
    std::string buffer_;
};

// A trace row: step,t,x,y,vx,vy,xs and, with a reference, x_ref,y_ref (nan where the
// reference could not be continued).
struct ReferencePoint {
    double x = 0, y = 0;
};
// The columns a trace may add to the run's own: the reference (or the delayed one) and the
// energy balance E,W_drive,W_damp.
struct TraceColumns {
    bool reference = false;
    bool delayed = false;
    bool energy = false;
};
struct EnergyCells {
    double E = 0, W_drive = 0, W_damp = 0;
};
void trace_header(CsvWriter& csv, const TraceColumns& columns = {});
void trace_row(CsvWriter& csv, std::int64_t step, const RunState& s);
// A row with the columns asked for: `ref` empty writes nan (a reference that could not go
// on), `energy` is written when given.
void trace_row(CsvWriter& csv, std::int64_t step, const RunState& s,
               const std::optional<ReferencePoint>& ref, const EnergyCells* energy = nullptr,
               bool with_reference = true);

// A sweep row: beta,steps,Ax,Ay,Ax_linear,A1,phase,steady and, when asked for, lambda.
void sweep_header(CsvWriter& csv, bool with_lambda = false);
void sweep_row(CsvWriter& csv, const SweepRow& r, std::optional<double> lambda = std::nullopt);

// The first `steps` steps of the run with p (fewer when the run ends earlier), as the tool
// prints them with every step shown: what a window saves of the run it has drawn.
void write_run(std::ostream& out, const Parameters& p, std::int64_t steps);

// What a trace will print: about how many steps a run of step h takes to reach t_end, the
// single-precision clock counted binade by binade, and ending where it stops advancing.
double expected_steps(float h, float t_end);
// About how many bytes a trace row takes (the step number and 17-digit numbers).
inline constexpr double kTraceRowBytes = 125;
inline constexpr double kTraceRowBytesWithReference = 165;

}  // namespace sp::analysis
