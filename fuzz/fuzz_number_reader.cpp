// The number reader on arbitrary bytes. Whatever is typed, the reader gives a finite
// number, and the field's normalised text reads back to the same text: the second,
// nested handling of an edit then changes nothing, so the editing ends.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/number_format.h"
#include "model/parameters.h"

namespace {

// A broken invariant must stop the fuzzer with the input that broke it.
void require(bool ok)
{
    if (!ok)
        __builtin_trap();
}

bool shows_no_non_finite(const std::string& s)
{
    return s.find("nan") == std::string::npos && s.find("inf") == std::string::npos;
}

// Both field formats: eight decimals, and one for the computation time.
void check_field_settles(double value)
{
    for (const int decimals : {8, 1}) {
        const std::string shown = sp::format_field(value, decimals);
        require(shows_no_non_finite(shown));
        const sp::NumberReading back = sp::read_number_detailed(shown);
        require(back.any_digits && back.whole);
        require(std::isfinite(back.value));
        require(sp::format_field(back.value, decimals) == shown);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const sp::NumberReading r = sp::read_number_detailed(text);
    require(std::isfinite(r.value));
    require(r.any_digits || r.value == 0);

    // Blanks are invisible wherever they stand.
    std::string packed(text);
    packed.erase(std::remove_if(packed.begin(), packed.end(),
                                [](char c) { return c == ' ' || c == '\t' || c == '\n'; }),
                 packed.end());
    const sp::NumberReading p = sp::read_number_detailed(packed);
    require(p.value == r.value);
    require(p.any_digits == r.any_digits && p.whole == r.whole);

    check_field_settles(r.value);
    // Voy keeps only single precision: its field shows the rounded value.
    check_field_settles(sp::to_single_saturated(r.value));

    // The captions' formats: a caption never says nan or inf.
    require(shows_no_non_finite(sp::format_scientific(r.value)));
    require(shows_no_non_finite(sp::format_fixed(r.value, 3, ',')));
    return 0;
}
