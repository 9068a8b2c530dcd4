#pragma once
// Texts written for the "Symbol" typeface hold Latin letters that it shows as Greek ones
// ("a =" reads α =, " 2p" reads 2π). No such font is installed on our systems, so these
// texts are translated to the Greek letters and drawn in an ordinary serif face instead.

#include <string>
#include <string_view>

namespace sp {

// Every Latin letter becomes the Greek letter that the Symbol typeface puts in its place
// (a α, b β, g γ, D Δ, j φ, p π, t τ, …); everything else is kept. UTF-8 in and out.
std::string symbol_to_greek(std::string_view symbol_text);

}  // namespace sp
